#include "common/file_names.h"

#include "common/sjis_chars.h"
#include "common/text_util.h"

namespace {

// The forbidden character that one whole character is, or nullptr: a single
// byte of code page 932 text or a UTF-16 unit.
const ForbiddenNameChar* ForbiddenChar(char16_t character) {
  for (const ForbiddenNameChar& c : kForbiddenNameChars) {
    if (character == static_cast<char16_t>(c.narrow)) return &c;
  }
  return nullptr;
}

// The one-byte character at offset at of code page 932 text, or 0 for a
// double-byte one, whose trail byte may look like a backslash or a bar.
char16_t SingleByteAt(std::string_view text, std::size_t at, std::size_t next) {
  return next == at + 1 ? static_cast<unsigned char>(text[at]) : 0;
}

}  // namespace

bool HasForbiddenNameChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
    if (ForbiddenChar(SingleByteAt(text, i, NextSjisChar(text, i))) != nullptr) return true;
  }
  return false;
}

std::string WidenForbiddenChars(std::string_view text) {
  std::string widened;
  widened.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = NextSjisChar(text, i);
    if (const ForbiddenNameChar* c = ForbiddenChar(SingleByteAt(text, i, next))) {
      widened += c->wide;
    } else {
      widened.append(text.substr(i, next - i));
    }
    i = next;
  }
  return widened;
}

std::u16string WidenForbiddenChars(std::u16string_view text) {
  std::u16string widened;
  widened.reserve(text.size());
  for (const char16_t unit : text) {
    if (const ForbiddenNameChar* c = ForbiddenChar(unit)) {
      widened += c->wide16;
    } else {
      widened += unit;
    }
  }
  return widened;
}

bool IsBareFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && !HasForbiddenNameChar(name);
}

bool IsReservedDeviceName(std::string_view name) {
  const std::string base = ToUpperSjis(TrimEnd(name.substr(0, name.find('.')), " "));
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"}) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}
