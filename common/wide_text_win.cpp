#include "common/wide_text.h"

std::wstring ToWide(std::string_view ansi, UINT codePage) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(codePage, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(codePage, 0, ansi.data(), size, wide.data(), length);
  return wide;
}

std::string ToAnsi(std::wstring_view wide, MissingChars missing, UINT codePage) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const bool question = missing == MissingChars::Question;
  const DWORD flags = question ? WC_NO_BEST_FIT_CHARS : 0;
  const char* defaultChar = question ? "?" : nullptr;
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, defaultChar, nullptr);
  std::string ansi(length, '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, ansi.data(), length, defaultChar, nullptr);
  return ansi;
}

std::string ToAnsiExactly(std::wstring_view wide, bool* exact) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", nullptr);
  std::string ansi(length, '\0');
  WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, "?",
                      &usedDefault);
  if (usedDefault) *exact = false;
  return ansi;
}

std::string WindowTextAnsi(HWND window) {
  return ToAnsi(GrowingBufferCall<wchar_t>(
      CutReport::FilledLessNul,
      [window](wchar_t* buffer, std::size_t capacity) {
        return GetWindowTextW(window, buffer, static_cast<int>(capacity));
      },
      GetWindowTextLengthW(window)));
}
