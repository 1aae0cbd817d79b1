#include "catalogue/menu_registration.h"

#include "common/text_util.h"

uint32_t ContextsMask(bool fixedString, const std::array<bool, 4>& contexts) {
  if (fixedString) return 0x04;
  static constexpr uint32_t kBits[4] = {0x01, 0x02, 0x20, 0x10};
  uint32_t mask = 0;
  for (int i = 0; i < 4; ++i) {
    if (contexts[i]) mask |= kBits[i];
  }
  return mask;
}

std::string MenuEntryKey(const std::string& itemName) { return kMenuExtKey + TrimBlanks(itemName); }
