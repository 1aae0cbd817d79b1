#include <windows.h>

#include <algorithm>
#include <map>

#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/growing_buffer.h"
#include "common/path_kind.h"
#include "common/text_util.h"

namespace {

// The whole ItemList section in one call, with a buffer that grows until the
// section fits: nothing is ever cut off, and one call is far cheaper than one
// per key on a large catalogue.
std::string ReadSectionBlock(const std::string& path) {
  return GrowingBufferCall<char>(
      CutReport::FilledLessNulOrHalfChar,
      [&](char* buffer, std::size_t capacity) {
        return GetPrivateProfileSectionA(kItemListSection, buffer, static_cast<DWORD>(capacity),
                                         path.c_str());
      },
      65536);
}

int HighestItemNumber(const std::map<std::string, std::string>& values) {
  int highest = 0;
  for (const auto& entry : values) {
    const std::string& key = entry.first;
    if (key.rfind("ITEMNAME", 0) != 0 || key.size() == 8 || key.size() > 13) continue;
    const std::string digits = key.substr(8);
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    highest = std::max(highest, std::stoi(digits));
  }
  return highest;
}

}  // namespace

void LoadItems() { LoadItemsFrom(SettingsFilePath()); }

void LoadItemsFrom(const std::string& settingsPath) {
  Items.clear();
  const auto values = ParseSectionBlock(ReadSectionBlock(settingsPath));
  const ProfileReader read = [&](const std::string& key) -> std::optional<std::string> {
    const auto found = values.find(ToUpperSjis(key));
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
  // A count beyond the 16-bit range is not trusted; the keys present decide.
  const int count = ParseProfileInt(read("ItemCount"), 0).value_or(32767);
  Items = ReadCatalogue(read, std::min(count, HighestItemNumber(values)), IsMenuEntryRegistered);
  if (ItemCount() > 1) SortItems(0, ItemCount() - 1);
}

bool SaveItems() {
  const std::string path = SettingsFilePath();
  std::string current;
  if (GetPathKind(path) == PathKind::File && !ReadWholeFile(path, &current)) return false;
  // Other sections keep their bytes; the new file replaces the old one in one
  // step only once it has been written completely.
  return WriteFileAtomically(path, ReplaceIniSection(current, kItemListSection, CatalogueEntries(Items)));
}
