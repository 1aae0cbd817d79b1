// Code page 932 to UTF-16 for the native tests, as the system converts it
// (glibc's CP932 table agrees with Windows' for the characters used here).
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

inline std::u16string Cp932ToUtf16(std::string_view cp932) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  std::string in(cp932), out(cp932.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  std::u16string wide;
  for (size_t i = 0; i + 1 < out.size() - outLeft; i += 2) {
    wide += static_cast<char16_t>(static_cast<unsigned char>(out[i]) | static_cast<unsigned char>(out[i + 1])
                                                                           << 8);
  }
  return wide;
}
