#include "common/wide_text.h"

std::wstring ToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(kTextCodePage, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(kTextCodePage, 0, ansi.data(), size, wide.data(), length);
  return wide;
}

std::string ToAnsi(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(length, '\0');
  WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

std::string WindowTextAnsi(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring wide(length + 1, L'\0');
  wide.resize(GetWindowTextW(window, wide.data(), length + 1));
  return ToAnsi(wide);
}
