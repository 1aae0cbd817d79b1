#include "launchers/common/launcher_text.h"

#include "common/module_path.h"
#include "common/text_util.h"

std::string UsageText(std::string_view programFileName, std::string_view usageTail) {
  std::string text = "コマンドライン：\r\n\r\n";
  text += programFileName;
  text += "．exe";
  text += usageTail;
  return text;
}

std::string QuoteUnlessEnclosed(std::string_view text) {
  if (text.size() >= 1 && text.front() == '"' && text.back() == '"') return std::string(text);
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string SettingsPathOf(const std::string& programPath) {
  return ProgramFolderOf(programPath) + ProgramFileNameOf(programPath) + ".ini";
}

std::string ProgramWithFileArgument(std::string_view programPath, std::string_view fileArgument) {
  std::string line = QuoteUnlessEnclosed(programPath);
  line += ' ';
  line += fileArgument;
  return line;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size()) return false;
  const std::string::size_type start = text.size() - suffix.size();
  // The suffix must begin on a character boundary.
  std::size_t i = 0;
  while (i < start) i = NextSjisChar(text, i);
  if (i != start) return false;
  return ToUpperSjis(text.substr(start)) == ToUpperSjis(suffix);
}
