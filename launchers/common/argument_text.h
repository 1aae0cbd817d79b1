// Taking a launcher's argument text from its raw command line.
#pragma once

#include <string>
#include <string_view>

// The command line without the program's own path (quoted or bare) and the
// blanks after it. Everything else stays exactly as the caller wrote it:
// quotes, further blanks, tabs, line breaks and trailing blanks. An item's
// script hands the launcher one text, so it must never be split or unquoted.
std::string ArgumentTextOf(std::string_view commandLine);
