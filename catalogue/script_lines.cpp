#include "catalogue/script_lines.h"

#include "catalogue/placeholders.h"
#include "catalogue/version_info.h"
#include "common/product.h"
#include "common/text_util.h"

void AddScriptHead(ScriptLines& lines) {
  lines.Add("<!--");
  lines.Add(ORBISK_PRODUCT_NAME " " + VersionText);
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

std::string SplitLine(std::string_view array, const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : " ") + item;
  return std::string(array) + " = Split(\"" + joined + "\")";
}

namespace {

// What the line of a token puts in its place: the page fact's variable (the
// forbidden file-name characters widened by the script's own function for a
// wide token), or the table's expression.
std::string ScriptExpression(const Placeholder& p) {
  switch (p.value) {
    case TokenValue::WideFact:
      return std::string("cnvNarrowToWide(") + ScriptVariable(p.fact) + ")";
    case TokenValue::Fact:
    case TokenValue::TrimmedFact:
      return ScriptVariable(p.fact);
    default:
      return p.expression;
  }
}

}  // namespace

void AddSubstitutionLines(ScriptLines& lines, std::string_view text, std::string_view variable,
                          ScriptKind kind) {
  const std::string v(variable);
  for (const Placeholder* p : kSubstitutionOrder) {
    if (kind == ScriptKind::FixedString && !p->fixedString) continue;
    if (!ContainsToken(text, p->token)) continue;
    if (p->array != nullptr) {
      const auto& names =
          p->value == TokenValue::WeekdayEnglish ? kWeekdayNamesEnglish : kWeekdayNamesJapanese;
      lines.Add(std::string("Dim ") + p->array);
      lines.Add(SplitLine(p->array, std::vector<std::string>(names.begin(), names.end())));
    }
    lines.Add(v + " = Replace(" + v + ", \"" + p->token + "\", " + ScriptExpression(*p) + ")");
  }
}
