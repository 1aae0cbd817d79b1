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

// A character through iconv into a single-byte or double-byte code page;
// "" when the code page has no such character.
inline std::string IconvCharacter(const char* codePage, std::u16string_view character) {
  std::string in;
  for (const char16_t unit : character) {
    in += static_cast<char>(unit & 0xFF);
    in += static_cast<char>(unit >> 8);
  }
  iconv_t cd = iconv_open(codePage, "UTF-16LE");
  char out[8] = {};
  char* inPtr = in.data();
  char* outPtr = out;
  size_t inLeft = in.size(), outLeft = sizeof out;
  const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  return converted ? std::string(out, sizeof out - outLeft) : std::string();
}

// UTF-16 as Windows converts a program's line into an ANSI code page, with
// best fit: the code page's own characters, then the rows of Microsoft's
// best-fit table that turn into command-line syntax (bestfit932.txt,
// bestfit1252.txt), anything else "?".
struct BestFitRow {
  char16_t from;
  char to;
};
inline constexpr BestFitRow kBestFit932[] = {
    {u'\u00A5', '\\'}, {u'\u00AD', '-'}, {u'\u00A6', '|'}, {u'\u00A1', '!'}, {u'\u203E', '~'}};
inline constexpr BestFitRow kBestFit1252[] = {
    {u'\uFF02', '"'}, {u'\uFF3C', '\\'}, {u'\u3000', ' '}, {u'\uFF0D', '-'}, {u'\uFF0F', '/'}};

template <std::size_t N>
std::string WithBestFit(const char* codePage, const BestFitRow (&rows)[N], std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    const std::string converted = IconvCharacter(codePage, text.substr(i, pair ? 2 : 1));
    if (pair) ++i;
    if (!converted.empty()) {
      out += converted;
      continue;
    }
    char fit = '?';
    for (const BestFitRow& row : rows) {
      if (!pair && row.from == text[i]) fit = row.to;
    }
    out += fit;
  }
  return out;
}

inline std::string Cp932WithBestFit(std::u16string_view text) {
  return WithBestFit("CP932", kBestFit932, text);
}
inline std::string Cp1252WithBestFit(std::u16string_view text) {
  return WithBestFit("CP1252", kBestFit1252, text);
}
inline bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
