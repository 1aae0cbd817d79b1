// Pieces shared by the two kinds of item script: the line writer, the common
// head of every file, the escaping of text put into a string literal and the
// substitution lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Collects script lines, each ended with CR LF.
class ScriptLines {
 public:
  void Add(std::string_view line) {
    bytes_.append(line);
    bytes_.append("\r\n");
  }
  void AddIf(bool condition, std::string_view line) {
    if (condition) Add(line);
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The comment with product name, VersionText and RightsNotice, then the
// opening SCRIPT tag and Option Explicit.
void AddScriptHead(ScriptLines& lines);

// Text made safe for the inside of a double-quoted VBScript literal: each
// double quote becomes "" & CHR(34) & "", and "</" is split into "<" & "/" so
// that the browser does not take it for the end of the script element. The
// literal's value in the script stays the text itself.
std::string EscapeForScriptLiteral(std::string_view text);

// Which tokens a script substitutes: a launcher item's all 31, a fixed-string
// item's 16.
enum class ScriptKind { Launcher, FixedString };

// The line that splits items, joined by single blanks into one string
// literal, into array: `array = Split("a b c")`. Items go into the literal as
// given, so a double quote among them must come doubled.
std::string SplitLine(std::string_view array, const std::vector<std::string>& items);

// The substitution lines of the tokens that text holds, in the order of the
// placeholder table, each replacing the token in variable; a weekday array is
// declared right before its line. Date and time expressions read the clock
// anew in every line.
void AddSubstitutionLines(ScriptLines& lines, std::string_view text, std::string_view variable,
                          ScriptKind kind);
