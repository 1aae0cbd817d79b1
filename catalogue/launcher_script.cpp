#include "catalogue/launcher_script.h"

#include <array>
#include <vector>

#include "catalogue/placeholders.h"
#include "catalogue/script_lines.h"
#include "catalogue/substitution.h"
#include "common/file_names.h"
#include "common/text_util.h"

#ifdef _WIN32
#include "catalogue/program_paths.h"
#include "common/atomic_file.h"
#endif

namespace {

// Which page facts a template's tokens read, and the parts of the page the
// script must look up for them.
struct TokenUse {
  explicit TokenUse(std::string_view text) {
    for (const Fact fact : FactsNeeded(text)) facts[static_cast<std::size_t>(fact)] = true;
    for (const Placeholder& p : kPlaceholders) {
      wide = wide || (p.value == TokenValue::WideFact && ContainsToken(text, p.token));
    }
    TT = Reads(Fact::TopTitle), TU = Reads(Fact::TopUrl), FT = Reads(Fact::FrameTitle);
    FU = Reads(Fact::FrameUrl), AT = Reads(Fact::LinkText), AU = Reads(Fact::LinkUrl);
    IU = Reads(Fact::ImageUrl), IA = Reads(Fact::ImageAlt), ST = Reads(Fact::SelectionText);
    SS = Reads(Fact::SelectionSource), IT = Reads(Fact::InputText);
    topPage = TT || TU;
    frameDocument = FT || FU || ST || SS || IU || IA;
    link = AT || AU;
    image = IU || IA;
    element = link || image;
  }
  bool Reads(Fact fact) const { return facts[static_cast<std::size_t>(fact)]; }

  std::array<bool, kFactCount> facts{};
  bool wide = false;  // a token widens the forbidden file-name characters
  bool TT, TU, FT, FU, AT, AU, IU, IA, ST, SS, IT;
  bool topPage, frameDocument, link, image, element;
};

// The nine characters and their full-width forms as the items of the
// script's two Split lines, the double quote doubled inside the literal.
std::vector<std::string> NarrowChars() {
  std::vector<std::string> items;
  for (const ForbiddenNameChar& c : kForbiddenNameChars) {
    items.push_back(c.narrow == '"' ? std::string("\"\"") : std::string(1, c.narrow));
  }
  return items;
}
std::vector<std::string> WideChars() {
  std::vector<std::string> items;
  for (const ForbiddenNameChar& c : kForbiddenNameChars) items.emplace_back(c.wide);
  return items;
}

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
  for (const FactVariable& v : kFactVariables) {
    lines.AddIf(use.Reads(v.fact), std::string("Dim ") + v.variable);
  }
  lines.Add("Dim strArgments");
  lines.Add("On Error Resume Next");
  lines.Add("Set objWshShell = CreateObject(\"Wscript.Shell\")");
  lines.Add("Set objWin = external.menuArguments");
  lines.AddIf(use.topPage, "Set objTopDoc = objWin.top.document");
  lines.AddIf(use.frameDocument, "Set objFrmDoc = objWin.document");
  lines.AddIf(use.link, "Set objElm = objWin.event.srcElement");
  lines.AddIf(use.image, "Set objElm = objFrmDoc.elementFromPoint(objWin.event.x, objWin.event.y)");
  lines.AddIf(use.element, "strTag = objElm.tagName");
  lines.AddIf(use.TT, "strTopTitle = objTopDoc.title");
  lines.AddIf(use.TU, "strTopUrl = objTopDoc.URL");
  lines.AddIf(use.FT, "strFrmTitle = objFrmDoc.title");
  lines.AddIf(use.FU, "strFrmUrl = objFrmDoc.URL");

  // What the element under the mouse gives, by its tag; an image element
  // gives its source and alternative text in three of the cases.
  const auto addImageOfElement = [&] {
    lines.AddIf(use.IU, "strImageUrl = objElm.src");
    lines.AddIf(use.IA, "strImageAlt = objElm.alt");
  };
  lines.AddIf(use.element, "Select Case strTag");
  lines.AddIf(use.link, "Case \"A\"");
  lines.AddIf(use.AU, "strAnchorUrl = objElm.href");
  lines.AddIf(use.AT, "strAnchorText = objElm.innerText");
  lines.AddIf(use.element, "Case \"IMG\"");
  addImageOfElement();
  lines.AddIf(use.link, "If objElm.parentElement.tagName = \"A\" Then");
  lines.AddIf(use.AU, "strAnchorUrl = objElm.parentElement.href");
  lines.AddIf(use.AT, "strAnchorText = objElm.parentElement.innerText");
  lines.AddIf(use.link, "End If");
  lines.AddIf(use.image, "Case \"INPUT\"");
  lines.AddIf(use.image, "If objElm.type = \"image\" Then");
  addImageOfElement();
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
  addImageOfElement();
  lines.AddIf(use.image, "End If");
  lines.AddIf(use.element, "End Select");

  lines.AddIf(use.ST, "strSelText = Trim(objFrmDoc.selection.createRange().text)");
  lines.AddIf(use.SS, "strSelSource = objFrmDoc.selection.createRange().htmlText");
  lines.AddIf(use.IT, "strInputText = window.prompt(\"\", \"\")");
  lines.AddIf(use.IT, "If IsNull(strInputText) Then strInputText = \"\"");
  lines.Add("strArgments = \"" + EscapeForScriptLiteral(argments) + "\"");

  AddSubstitutionLines(lines, argments, "strArgments", ScriptKind::Launcher);

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
  lines.AddIf(use.wide, SplitLine("aryNarrow", NarrowChars()));
  lines.AddIf(use.wide, SplitLine("aryWide", WideChars()));
  lines.AddIf(use.wide, "cnvNarrowToWide = strSource");
  lines.AddIf(use.wide, "For i = 0 To UBound(aryNarrow)");
  lines.AddIf(use.wide, "cnvNarrowToWide = Replace(cnvNarrowToWide, aryNarrow(i), aryWide(i))");
  lines.AddIf(use.wide, "Next");
  lines.AddIf(use.wide, "End Function");
  lines.Add("</SCRIPT>");
  return lines.Bytes();
}

#ifdef _WIN32
// Written beside its final place and moved there only when complete, so that
// a failed rewrite leaves the item's working script as it was.
bool WriteLauncherScript(const std::string& itemName, const std::string& aplPath, const std::string& argments,
                         int windowStyle, bool confCmdLine) {
  return WriteFileAtomically(ScriptFilePath(itemName),
                             LauncherScriptText(itemName, aplPath, argments, windowStyle, confCmdLine));
}
#endif
