#include "tests/wine/launchers/clipboard_text.h"

#include "tests/harness/waiting.h"

bool OpenClipboardPatiently(HWND owner) {
  // Another process's CloseClipboard signals nobody: tried until it is free.
  return WaitUntil([owner] { return OpenClipboard(owner) != FALSE; }, 2000);
}

std::string ClipboardAnsiText() {
  if (!OpenClipboardPatiently()) return "<not opened>";
  std::string text = "<none>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardWideText() {
  if (!OpenClipboardPatiently()) return L"<not opened>";
  std::wstring text = L"<none>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (OpenClipboardPatiently()) {
    EmptyClipboard();
    CloseClipboard();
  }
}
