// Reading the clipboard back in the launcher tests: what Clipsy left there.
#pragma once

#include <windows.h>

#include <string>

// Opens the clipboard for this thread (owner may be nullptr), retrying for
// about two seconds while another process holds it open.
bool OpenClipboardPatiently(HWND owner = nullptr);

// The clipboard's text in one format; "<none>" when the format is absent,
// "<not opened>" when the clipboard could not be opened.
std::string ClipboardAnsiText();
std::wstring ClipboardWideText();

// Empties the clipboard.
void ClearClipboard();
