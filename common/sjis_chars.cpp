#include "common/sjis_chars.h"

std::size_t SjisCharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) ++count;
  return count;
}

std::size_t SjisByteOffset(std::string_view text, std::size_t chars) {
  std::size_t i = 0;
  for (std::size_t n = 0; n < chars && i < text.size(); ++n) i = NextSjisChar(text, i);
  return i;
}
