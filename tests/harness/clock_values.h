// The values the date and time tokens stand for at a given moment, to check a
// script's substitutions against the clock read before and after it ran.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every whole second from before to after, both included.
std::vector<SYSTEMTIME> SecondsBetween(const SYSTEMTIME& before, const SYSTEMTIME& after);

// The text a date or time token ("<Y4>" … "<S1>") gives at moment, code page 932.
std::string TokenValue(const std::string& token, const SYSTEMTIME& moment);

// True when value is what token gives at one of the SecondsBetween before
// and after: the script read the clock somewhere in that time.
bool IsTokenValueBetween(const std::string& token, const std::string& value, const SYSTEMTIME& before,
                         const SYSTEMTIME& after);

// text cut at every separator.
std::vector<std::string> SplitValues(const std::string& text, char separator);
