// Conversion between code page 932 and UTF-16, for the places that must read,
// compare or draw text through the wide Win32 functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/growing_buffer.h"

// Every text of the programs (literals, files, registry strings) is Shift_JIS.
// The conversions name that code page rather than CP_ACP: the manifest makes
// the ANSI code page 932 where Windows honours it, but GDI's text functions
// keep the system's code page whatever the process's is, and a Windows that
// ignores the manifest's code page still gets the right characters drawn.
inline constexpr UINT kTextCodePage = 932;

// The code page 932 text as UTF-16; an embedded NUL is converted like any
// character. Another code page only for text that comes from outside
// Orbisk's own (a batch file in the console's code page).
std::wstring ToWide(std::string_view ansi, UINT codePage = kTextCodePage);

// What becomes of a character that code page 932 lacks.
enum class MissingChars {
  // The system's best fit where it has one (a look-alike), else the code
  // page's default character ("?").
  BestFit,
  // Always "?", never a look-alike such as a backslash for the yen sign: for
  // text in which a character may have a meaning of its own.
  Question,
};

// The UTF-16 text in code page 932, or in another code page: the system's,
// to see a command line as a program that reads it in that code page gets it.
std::string ToAnsi(std::wstring_view wide, MissingChars missing = MissingChars::BestFit,
                   UINT codePage = kTextCodePage);

// The UTF-16 text in code page 932 without best fit, a missing character as
// "?"; clears *exact when there was one: for text that must arrive as it is
// or not at all.
std::string ToAnsiExactly(std::wstring_view wide, bool* exact);

// A window's whole text, read through the wide function and converted here:
// the ANSI function may cut double-byte text short (Wine does for a window of
// another process) and a control may hold what the code page cannot show.
std::string WindowTextAnsi(HWND window);

// A window's whole text through the ANSI function, as the system converts it
// in the process's ANSI code page: for a control of the program's own whose
// text it sets through the ANSI functions too, so that what it reads back
// compares equal to what it set. Inline, so that a launcher that reads one
// control pulls in no wide window function.
inline std::string WindowTextThroughAnsi(HWND window) {
  return GrowingBufferCall<char>(
      CutReport::FilledLessNul,
      [window](char* buffer, std::size_t capacity) {
        return GetWindowTextA(window, buffer, static_cast<int>(capacity));
      },
      GetWindowTextLengthA(window));
}
