// Conversion between code page 932 and UTF-16, for the places that must read,
// compare or draw text through the wide Win32 functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Every text of the programs (literals, files, registry strings) is Shift_JIS.
// The conversions name that code page rather than CP_ACP: the manifest makes
// the ANSI code page 932 where Windows honours it, but GDI's text functions
// keep the system's code page whatever the process's is, and a Windows that
// ignores the manifest's code page still gets the right characters drawn.
inline constexpr UINT kTextCodePage = 932;

// The code page 932 text as UTF-16; an embedded NUL is converted like any character.
std::wstring ToWide(std::string_view ansi);

// The UTF-16 text in code page 932; a character the code page lacks
// becomes the code page's default character ("?").
std::string ToAnsi(std::wstring_view wide);

// A window's whole text, read through the wide function and converted here:
// the ANSI function may cut double-byte text short (Wine does for a window of
// another process) and a control may hold what the code page cannot show.
std::string WindowTextAnsi(HWND window);
