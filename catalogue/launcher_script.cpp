#include "catalogue/launcher_script.h"

#include "catalogue/placeholders.h"
#include "catalogue/script_lines.h"
#include "common/text_util.h"

namespace {

// Which tokens a template holds, and the token groups the lines depend on.
struct TokenUse {
  explicit TokenUse(std::string_view text) : text(text) {}
  bool Has(std::string_view token) const { return ContainsToken(text, token); }

  std::string_view text;
  bool TT = Has("<TT>"), TU = Has("<TU>"), TT2 = Has("<TT2>"), TU2 = Has("<TU2>");
  bool FT = Has("<FT>"), FU = Has("<FU>"), FT2 = Has("<FT2>"), FU2 = Has("<FU2>");
  bool AT = Has("<AT>"), AU = Has("<AU>"), IU = Has("<IU>"), IA = Has("<IA>");
  bool ST = Has("<ST>"), SS = Has("<SS>"), IT = Has("<IT>");
  bool topPage = TT || TU || TT2 || TU2;
  bool frameDocument = FT || FU || FT2 || FU2 || ST || SS || IU || IA;
  bool link = AT || AU;
  bool image = IU || IA;
  bool element = link || image;
  bool wide = TT2 || TU2 || FT2 || FU2;
};

}  // namespace

std::string LauncherScriptText(const std::string& itemName, const std::string& aplPath,
                               const std::string& argments, int windowStyle, bool confCmdLine) {
  const std::string path = TrimBlanks(aplPath);
  const std::string folder = GetFolderPart(path);
  const std::string title = ReplaceAll(TrimBlanks(itemName), "&", "");
  const TokenUse use(argments);

  ScriptLines lines;
  AddScriptHead(lines);
  lines.Add("CONST EXE_PATH = \"" + path + "\"");
  lines.Add("CONST EXE_DIR = \"" + folder + "\"");
  lines.Add("Dim objWshShell");
  lines.Add("Dim objWin");
  lines.AddIf(use.topPage, "Dim objTopDoc");
  lines.AddIf(use.frameDocument, "Dim objFrmDoc");
  lines.AddIf(use.image, "Dim objImg");
  lines.AddIf(use.element, "Dim objElm");
  lines.AddIf(use.element, "Dim strTag");
  lines.AddIf(use.TT || use.TT2, "Dim strTopTitle");
  lines.AddIf(use.TU || use.TU2, "Dim strTopUrl");
  lines.AddIf(use.FT || use.FT2, "Dim strFrmTitle");
  lines.AddIf(use.FU || use.FU2, "Dim strFrmUrl");
  lines.AddIf(use.AT, "Dim strAnchorText");
  lines.AddIf(use.AU, "Dim strAnchorUrl");
  lines.AddIf(use.IU, "Dim strImageUrl");
  lines.AddIf(use.IA, "Dim strImageAlt");
  lines.AddIf(use.ST, "Dim strSelText");
  lines.AddIf(use.SS, "Dim strSelSource");
  lines.AddIf(use.IT, "Dim strInputText");
  lines.Add("Dim strArgments");
  lines.Add("On Error Resume Next");
  lines.Add("Set objWshShell = CreateObject(\"Wscript.Shell\")");
  lines.Add("Set objWin = external.menuArguments");
  lines.AddIf(use.topPage, "Set objTopDoc = objWin.top.document");
  lines.AddIf(use.frameDocument, "Set objFrmDoc = objWin.document");
  lines.AddIf(use.link, "Set objElm = objWin.event.srcElement");
  lines.AddIf(use.image, "Set objElm = objFrmDoc.elementFromPoint(objWin.event.x, objWin.event.y)");
  lines.AddIf(use.element, "strTag = objElm.tagName");
  lines.AddIf(use.TT || use.TT2, "strTopTitle = objTopDoc.title");
  lines.AddIf(use.TU || use.TU2, "strTopUrl = objTopDoc.URL");
  lines.AddIf(use.FT || use.FT2, "strFrmTitle = objFrmDoc.title");
  lines.AddIf(use.FU || use.FU2, "strFrmUrl = objFrmDoc.URL");

  // What the element under the mouse gives, by its tag.
  lines.AddIf(use.element, "Select Case strTag");
  lines.AddIf(use.link, "Case \"A\"");
  lines.AddIf(use.AU, "strAnchorUrl = objElm.href");
  lines.AddIf(use.AT, "strAnchorText = objElm.innerText");
  lines.AddIf(use.element, "Case \"IMG\"");
  lines.AddIf(use.IU, "strImageUrl = objElm.src");
  lines.AddIf(use.IA, "strImageAlt = objElm.alt");
  lines.AddIf(use.link, "If objElm.parentElement.tagName = \"A\" Then");
  lines.AddIf(use.AU, "strAnchorUrl = objElm.parentElement.href");
  lines.AddIf(use.AT, "strAnchorText = objElm.parentElement.innerText");
  lines.AddIf(use.link, "End If");
  lines.AddIf(use.image, "Case \"INPUT\"");
  lines.AddIf(use.image, "If objElm.type = \"image\" Then");
  lines.AddIf(use.IU, "strImageUrl = objElm.src");
  lines.AddIf(use.IA, "strImageAlt = objElm.alt");
  lines.AddIf(use.image, "End If");
  lines.AddIf(use.image, "Case \"AREA\"");
  lines.AddIf(use.IA, "strImageAlt = objElm.alt");
  lines.AddIf(use.image, "For Each objImg In objFrmDoc.images");
  lines.AddIf(use.image, "If objImg.useMap = \"#\" & objElm.parentElement.name Then");
  lines.AddIf(use.IU, "strImageUrl = objImg.src");
  lines.AddIf(use.IA, "If strImageAlt = \"\" Then strImageAlt = objImg.alt");
  lines.AddIf(use.image, "Exit For");
  lines.AddIf(use.image, "End If");
  lines.AddIf(use.image, "Next");
  lines.AddIf(use.image, "Case Else");
  lines.AddIf(use.image, "Set objElm = objWin.event.srcElement");
  lines.AddIf(use.image, "strTag = objElm.tagName");
  lines.AddIf(use.image, "If strTag = \"IMG\" Then");
  lines.AddIf(use.IU, "strImageUrl = objElm.src");
  lines.AddIf(use.IA, "strImageAlt = objElm.alt");
  lines.AddIf(use.image, "End If");
  lines.AddIf(use.element, "End Select");

  lines.AddIf(use.ST, "strSelText = Trim(objFrmDoc.selection.createRange().text)");
  lines.AddIf(use.SS, "strSelSource = objFrmDoc.selection.createRange().htmlText");
  lines.AddIf(use.IT, "strInputText = window.prompt(\"\", \"\")");
  lines.AddIf(use.IT, "If IsNull(strInputText) Then strInputText = \"\"");
  lines.Add("strArgments = \"" + EscapeForScriptLiteral(argments) + "\"");

  auto replace = [&](bool condition, std::string_view token, std::string_view value) {
    lines.AddIf(condition, "strArgments = Replace(strArgments, \"" + std::string(token) + "\", " +
                               std::string(value) + ")");
  };
  replace(use.TT, "<TT>", "strTopTitle");
  replace(use.TU, "<TU>", "strTopUrl");
  replace(use.TT2, "<TT2>", "cnvNarrowToWide(strTopTitle)");
  replace(use.TU2, "<TU2>", "cnvNarrowToWide(strTopUrl)");
  replace(use.FT, "<FT>", "strFrmTitle");
  replace(use.FU, "<FU>", "strFrmUrl");
  replace(use.FT2, "<FT2>", "cnvNarrowToWide(strFrmTitle)");
  replace(use.FU2, "<FU2>", "cnvNarrowToWide(strFrmUrl)");
  replace(use.AU, "<AU>", "strAnchorUrl");
  replace(use.AT, "<AT>", "strAnchorText");
  replace(use.IU, "<IU>", "strImageUrl");
  replace(use.IA, "<IA>", "strImageAlt");
  replace(use.ST, "<ST>", "strSelText");
  replace(use.SS, "<SS>", "strSelSource");
  AddDateTimeLines(lines, argments, "strArgments");
  replace(use.IT, "<IT>", "strInputText");
  replace(use.Has("<\\N>"), "<\\N>", "vbCrLf");
  replace(use.Has("<\\T>"), "<\\T>", "vbTab");

  if (confCmdLine) {
    lines.Add("objWshShell.Popup CHR(34) & EXE_PATH & CHR(34) & \" \" & strArgments, 0, \"" + title +
              "\", 64");
  } else {
    lines.Add("objWshShell.CurrentDirectory = EXE_DIR");
    lines.Add("Err = 0");
    lines.Add("objWshShell.Run CHR(34) & EXE_PATH & CHR(34) & \" \" & strArgments, " +
              std::to_string(windowStyle) + ", 0");
    lines.Add("If Err <> 0 Then");
    lines.Add("objWshShell.Popup \"プログラムの起動に失敗しました。\", 0, \"" + title + "\", 16");
    lines.Add("End If");
  }
  lines.Add("Set objWshShell = Nothing");

  // Replaces the nine characters that file names may not hold by their
  // full-width forms, pairwise in the order of the two lists.
  lines.AddIf(use.wide, "Function cnvNarrowToWide(strSource)");
  lines.AddIf(use.wide, "Dim aryNarrow, aryWide, i");
  lines.AddIf(use.wide, "aryNarrow = Split(\"\\ / : * ? \"\" < > |\")");
  lines.AddIf(use.wide, "aryWide = Split(\"￥ ／ ： ＊ ？ ” ＜ ＞ ｜\")");
  lines.AddIf(use.wide, "cnvNarrowToWide = strSource");
  lines.AddIf(use.wide, "For i = 0 To UBound(aryNarrow)");
  lines.AddIf(use.wide, "cnvNarrowToWide = Replace(cnvNarrowToWide, aryNarrow(i), aryWide(i))");
  lines.AddIf(use.wide, "Next");
  lines.AddIf(use.wide, "End Function");
  lines.Add("</SCRIPT>");
  return lines.Bytes();
}
