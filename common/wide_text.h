// Conversion between the ANSI code page (932 here) and UTF-16, for the few
// places that must read or compare text through the wide Win32 functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The ANSI text as UTF-16; an embedded NUL is converted like any character.
std::wstring ToWide(std::string_view ansi);

// The UTF-16 text in the ANSI code page; a character the code page lacks
// becomes the code page's default character ("?").
std::string ToAnsi(std::wstring_view wide);

// A window's whole text, read through the wide function and converted here:
// the ANSI function may cut double-byte text short (Wine does for a window of
// another process) and a control may hold what the code page cannot show.
std::string WindowTextAnsi(HWND window);
