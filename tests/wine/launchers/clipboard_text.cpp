#include "tests/wine/launchers/clipboard_text.h"

bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
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
