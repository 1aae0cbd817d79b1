// Putting one text on the Windows clipboard.
#pragma once

#include <windows.h>

#include <string>

// The outcome of a clipboard write: 0 on success, else the system's error
// number of the step that failed.
struct ClipboardResult {
  DWORD error = 0;
  bool ok() const { return error == 0; }
};

// Empties the clipboard of every format, then puts text on it as plain text,
// byte for byte.
ClipboardResult PutTextOnClipboard(const std::string& text);

// The platform's description of an error number, "(", the number, ")".
std::string ErrorMessageText(DWORD error);
