#include "common/utf.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

namespace {

// The character that starts at utf8[i] and how many bytes it takes: for a
// broken sequence, the bytes that belonged together (at least the lead) and
// valid false.
struct Decoded {
  char32_t c = 0;
  std::size_t length = 1;
  bool valid = true;
};

Decoded DecodeAt(std::string_view utf8, std::size_t i) {
  const auto lead = static_cast<unsigned char>(utf8[i]);
  int extra = 0;
  char32_t c = 0, minimum = 0;
  if (lead < 0x80) {
    return {lead, 1, true};
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return {kReplacement, 1, false};
  }
  std::size_t j = 1;
  for (; j <= static_cast<std::size_t>(extra); ++j) {
    if (i + j >= utf8.size()) break;
    const auto next = static_cast<unsigned char>(utf8[i + j]);
    if ((next & 0xC0) != 0x80) break;
    c = (c << 6) | (next & 0x3F);
  }
  if (j <= static_cast<std::size_t>(extra) || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    return {kReplacement, j, false};
  }
  return {c, j, true};
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded decoded = DecodeAt(utf8, i);
    AppendUtf16(out, decoded.c);
    i += decoded.length;
  }
  return out;
}

bool IsValidUtf8(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded decoded = DecodeAt(utf8, i);
    if (!decoded.valid) return false;
    i += decoded.length;
  }
  return true;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string FromU8(std::u8string_view text) { return std::string(text.begin(), text.end()); }
