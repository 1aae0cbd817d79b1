// Texts and paths the four launchers build the same way.
#pragma once

#include <string>
#include <string_view>

// The usage message: "コマンドライン：", an empty line, then the program file's
// own name (without extension) with "．exe" and the launcher's usage tail.
std::string UsageText(std::string_view programFileName, std::string_view usageTail);

// The string with a double quote before and after it, unless it already
// begins and ends with one ("" becomes two double quotes).
std::string QuoteUnlessEnclosed(std::string_view text);

// Settings file of the program at programPath: its folder, its file name
// without extension and ".ini".
std::string SettingsPathOf(const std::string& programPath);

// The command line that starts program on one file: the program path through
// QuoteUnlessEnclosed, one blank and the file argument as given.
std::string ProgramWithFileArgument(std::string_view programPath, std::string_view fileArgument);

// True when text ends with suffix as whole characters, ASCII letters compared
// without case (a trail byte that looks like a letter never matches).
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
