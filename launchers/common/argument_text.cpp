#include "launchers/common/argument_text.h"

std::string ArgumentTextOf(std::string_view commandLine) {
  std::string_view::size_type end = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    // The path runs to the closing quote; a path without one takes the whole
    // line, as the system's own program start does.
    const auto closing = commandLine.find('"', 1);
    end = closing == std::string_view::npos ? commandLine.size() : closing + 1;
  } else {
    // A bare path ends at the first blank or tab, where the system's program
    // start stopped reading it. Shift_JIS trail bytes are never 0x20 or 0x09.
    end = commandLine.find_first_of(" \t");
    if (end == std::string_view::npos) end = commandLine.size();
  }
  while (end < commandLine.size() && commandLine[end] == ' ') ++end;
  return std::string(commandLine.substr(end));
}
