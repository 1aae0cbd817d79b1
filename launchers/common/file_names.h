// File names made from text that came from a web page.
#pragma once

#include <string>
#include <string_view>

// Every character that file names may not hold replaced by its full-width
// look-alike: \ ￥, / ／, : ：, * ＊, ? ？, " ”, < ＜, > ＞, | ｜.
std::string WidenForbiddenChars(std::string_view text);

// True for a plain file name as the launchers write them: not empty, not "."
// or "..", and free of every character WidenForbiddenChars replaces, so that
// it can name nothing outside the folder it is joined to.
bool IsBareFileName(std::string_view name);

// True for a name the system reads as a device (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, CONIN$, CONOUT$), with any extension: the part before
// the first dot, with trailing blanks dropped, compared without case.
bool IsDeviceName(std::string_view name);
