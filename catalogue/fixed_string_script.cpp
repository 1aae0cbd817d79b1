#include "catalogue/fixed_string_script.h"

#include "catalogue/script_lines.h"

#ifdef _WIN32
#include "catalogue/program_paths.h"
#include "common/atomic_file.h"
#endif

std::string FixedStringScriptText(const std::string& fixedString) {
  ScriptLines lines;
  AddScriptHead(lines);
  lines.Add("Dim objWin");
  lines.Add("Dim objFrmDoc");
  lines.Add("Dim objElm");
  lines.Add("Dim strTag");
  lines.Add("Dim strType");
  lines.Add("Dim strFixedString");
  lines.Add("On Error Resume Next");
  lines.Add("Set objWin = external.menuArguments");
  lines.Add("Set objFrmDoc = objWin.document");
  lines.Add("Set objElm = objWin.event.srcElement");
  lines.Add("strTag = LCase(objElm.tagName)");
  lines.Add("If (strTag = \"input\") Or (strTag = \"textarea\") Then");
  lines.Add("strType =  LCase(objElm.type)");
  lines.Add("If (strType = \"text\") Or (strType = \"password\") Or (strType = \"textarea\") Then");
  lines.Add("strFixedString = \"" + EscapeForScriptLiteral(fixedString) + "\"");
  AddSubstitutionLines(lines, fixedString, "strFixedString", ScriptKind::FixedString);
  lines.Add("objFrmDoc.selection.createRange().text = strFixedString");
  lines.Add("End If");
  lines.Add("End If");
  lines.Add("</SCRIPT>");
  return lines.Bytes();
}

#ifdef _WIN32
// Written beside its final place and moved there only when complete, so that
// a failed rewrite leaves the item's working script as it was.
bool WriteFixedStringScript(const std::string& itemName, const std::string& fixedString) {
  return WriteFileAtomically(ScriptFilePath(itemName), FixedStringScriptText(fixedString));
}
#endif
