// Stepping through code-page 932 (Shift_JIS) text one character at a time.
// A lead byte (0x81-0x9F, 0xE0-0xFC) starts a double-byte character whose
// trail byte may look like an ASCII character: 0x5C is a backslash, 0x7C a
// bar, 0x41-0x7A letters. Whatever looks for one of those, counts characters
// or cuts text must step with NextSjisChar, so that it never lands on a trail
// byte. A lead byte that is the very last byte stands alone, as one
// character.
#pragma once

#include <cstddef>
#include <string_view>

// True for a Shift_JIS lead byte (0x81-0x9F, 0xE0-0xFC).
inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Offset of the character after the one that starts at offset at (which must
// be below text.size()): at + 2 for a lead byte with a byte after it, else
// at + 1. The loop over every character of a text:
//   for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) ...
inline std::size_t NextSjisChar(std::string_view text, std::size_t at) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? at + 2 : at + 1;
}

// Number of characters, single- or double-byte.
std::size_t SjisCharCount(std::string_view text);

// Byte offset at which character number chars begins; text.size() for chars
// at or past the end.
std::size_t SjisByteOffset(std::string_view text, std::size_t chars);
