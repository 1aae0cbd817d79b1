#include "common/file_names.h"

#include "common/sjis_chars.h"
#include "common/text_util.h"

bool HasForbiddenNameChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
    for (const ForbiddenNameChar& c : kForbiddenNameChars) {
      if (text[i] == c.narrow) return true;
    }
  }
  return false;
}

std::string WidenForbiddenChars(std::string_view text) {
  std::string widened;
  widened.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = NextSjisChar(text, i);
    const ForbiddenNameChar* found = nullptr;
    for (const ForbiddenNameChar& c : kForbiddenNameChars) {
      if (next == i + 1 && text[i] == c.narrow) found = &c;
    }
    if (found != nullptr) {
      widened += found->wide;
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
    const ForbiddenNameChar* found = nullptr;
    for (const ForbiddenNameChar& c : kForbiddenNameChars) {
      if (unit == static_cast<char16_t>(c.narrow)) found = &c;
    }
    if (found != nullptr) {
      widened += found->wide16;
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
