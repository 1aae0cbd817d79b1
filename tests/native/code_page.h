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

// The length of the character at text[i]: 2 for a surrogate pair, else 1.
inline std::size_t CharacterLength(std::u16string_view text, std::size_t i) {
  const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 &&
                    text[i + 1] < 0xE000;
  return pair ? 2 : 1;
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

// UTF-16 as a code page 932 program reads it when it is converted without
// best fit: a character that does not come back the same is "?".
inline std::u16string AsCp932HoldsIt(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::u16string_view original = text.substr(i, CharacterLength(text, i));
    const std::string converted = IconvCharacter("CP932", original);
    out += !converted.empty() && Cp932ToUtf16(converted) == original ? std::u16string(original)
                                                                     : std::u16string(u"?");
    i += original.size();
  }
  return out;
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
  for (std::size_t i = 0; i < text.size();) {
    const std::u16string_view character = text.substr(i, CharacterLength(text, i));
    i += character.size();
    const std::string converted = IconvCharacter(codePage, character);
    if (!converted.empty()) {
      out += converted;
      continue;
    }
    char fit = '?';
    for (const BestFitRow& row : rows) {
      if (character.size() == 1 && row.from == character[0]) fit = row.to;
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
