#include "catalogue/script_lines.h"

#include "catalogue/placeholders.h"
#include "catalogue/version_info.h"
#include "common/text_util.h"

void AddScriptHead(ScriptLines& lines) {
  lines.Add("<!--");
  lines.Add("Orbisk " + VersionText);
  lines.Add(RightsNotice);
  lines.Add("");
  lines.Add("-->");
  lines.Add("<SCRIPT TYPE=\"text/vbscript\" LANGUAGE=\"VBScript\" CHARSET=\"Shift_JIS\">");
  lines.Add("Option Explicit");
}

std::string EscapeForScriptLiteral(std::string_view text) {
  const std::string quoted = ReplaceAll(text, "\"", "\" & CHR(34) & \"");
  // Split after quoting: the quote replacement begins and ends with a double
  // quote, so it can never bring a "<" and a "/" together.
  return ReplaceAll(quoted, "</", "<\" & \"/");
}

void AddDateTimeLines(ScriptLines& lines, std::string_view text, std::string_view variable) {
  const std::string v(variable);
  auto replace = [&](std::string_view token, std::string_view value) {
    if (ContainsToken(text, token)) {
      lines.Add(v + " = Replace(" + v + ", \"" + std::string(token) + "\", " + std::string(value) + ")");
    }
  };
  replace("<Y4>", "CStr(Year(Now))");
  replace("<Y2>", "Right(CStr(Year(Now)), 2)");
  replace("<M2>", "Right(CStr(Month(Now) + 100), 2)");
  replace("<M1>", "CStr(Month(Now))");
  replace("<D2>", "Right(CStr(Day(Now) + 100), 2)");
  replace("<D1>", "CStr(Day(Now))");
  if (ContainsToken(text, "<WE>")) {
    lines.Add("Dim aryWeekdayEng");
    lines.Add("aryWeekdayEng = Split(\"Sun Mon Tue Wed Thu Fri Sat\")");
    replace("<WE>", "aryWeekdayEng(Weekday(Now) - 1)");
  }
  if (ContainsToken(text, "<WJ>")) {
    lines.Add("Dim aryWeekdayJpn");
    lines.Add("aryWeekdayJpn = Split(\"日 月 火 水 木 金 土\")");
    replace("<WJ>", "aryWeekdayJpn(Weekday(Now) - 1)");
  }
  replace("<H2>", "Right(CStr(Hour(Now) + 100), 2)");
  replace("<H1>", "CStr(Hour(Now))");
  replace("<N2>", "Right(CStr(Minute(Now) + 100), 2)");
  replace("<N1>", "CStr(Minute(Now))");
  replace("<S2>", "Right(CStr(Second(Now) + 100), 2)");
  replace("<S1>", "CStr(Second(Now))");
}
