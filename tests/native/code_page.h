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

// UTF-16 as a code page 932 program reads it when it is converted without
// best fit: a character that does not come back the same is "?".
inline std::u16string AsCp932HoldsIt(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    std::string in;
    for (std::size_t k = 0; k < (pair ? 2u : 1u); ++k) {
      in += static_cast<char>(text[i + k] & 0xFF);
      in += static_cast<char>(text[i + k] >> 8);
    }
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    char out932[8] = {};
    char* inPtr = in.data();
    char* outPtr = out932;
    size_t inLeft = in.size(), outLeft = sizeof out932;
    const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    const std::u16string back =
        converted ? Cp932ToUtf16(std::string_view(out932, sizeof out932 - outLeft)) : std::u16string();
    const std::u16string_view original = text.substr(i, pair ? 2 : 1);
    out += back == original ? std::u16string(original) : std::u16string(u"?");
    if (pair) ++i;
  }
  return out;
}
