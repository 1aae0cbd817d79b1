#include "launchers/common/file_names.h"

#include "common/text_util.h"

namespace {

struct Widening {
  const char* from;
  const char* to;
};

// No replacement yields a character a later one looks for.
constexpr Widening kWidenings[] = {
    {"\\", "￥"}, {"/", "／"}, {":", "："}, {"*", "＊"}, {"?", "？"},
    {"\"", "”"},  {"<", "＜"}, {">", "＞"}, {"|", "｜"},
};

}  // namespace

std::string WidenForbiddenChars(std::string_view text) {
  std::string widened(text);
  for (const Widening& widening : kWidenings) widened = ReplaceAll(widened, widening.from, widening.to);
  return widened;
}

bool IsBareFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return WidenForbiddenChars(name) == name;
}

bool IsDeviceName(std::string_view name) {
  const std::string base = ToUpperSjis(TrimEnd(name.substr(0, name.find('.')), " "));
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}
