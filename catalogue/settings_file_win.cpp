#include <windows.h>

#include <set>

#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "common/text_util.h"

namespace {

constexpr DWORD kFirstBufferSize = 512;

// Calls GetPrivateProfileStringA with a buffer that grows until the whole
// result fits, so that long values are never cut off. slack is how far below
// the buffer size the platform stops when it truncates (1 for a value, 2 for
// the list of key names).
std::string ReadProfileText(const char* key, const std::string& path, DWORD slack) {
  std::string buffer(kFirstBufferSize, '\0');
  for (;;) {
    const DWORD length = GetPrivateProfileStringA(kItemListSection, key, "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path.c_str());
    if (length + slack < buffer.size()) {
      buffer.resize(key ? length : length + 1);
      return buffer;
    }
    buffer.assign(buffer.size() * 4, '\0');
  }
}

// Upper-cased names of the keys present in the section: a key that is not
// there is not looked up, and the highest item number bounds the reading.
std::set<std::string> SectionKeys(const std::string& path) {
  const std::string list = ReadProfileText(nullptr, path, 2);
  std::set<std::string> keys;
  for (std::string::size_type start = 0; start < list.size();) {
    const auto end = list.find('\0', start);
    if (end == start || end == std::string::npos) break;
    keys.insert(ToUpperSjis(list.substr(start, end - start)));
    start = end + 1;
  }
  return keys;
}

int HighestItemNumber(const std::set<std::string>& keys) {
  int highest = 0;
  for (const std::string& key : keys) {
    if (key.rfind("ITEMNAME", 0) != 0 || key.size() == 8 || key.size() > 13) continue;
    const std::string digits = key.substr(8);
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    highest = std::max(highest, std::stoi(digits));
  }
  return highest;
}

}  // namespace

void LoadItems() {
  Items.clear();
  const std::string path = SettingsFilePath();
  const std::set<std::string> keys = SectionKeys(path);
  const ProfileReader read = [&](const std::string& key) -> std::optional<std::string> {
    if (keys.count(ToUpperSjis(key)) == 0) return std::nullopt;
    return ReadProfileText(key.c_str(), path, 1);
  };
  // A count beyond the 16-bit range is not trusted; the keys present decide.
  const int count = ParseProfileInt(read("ItemCount"), 0).value_or(32767);
  Items = ReadCatalogue(read, std::min(count, HighestItemNumber(keys)), IsMenuEntryRegistered);
  if (ItemCount() > 1) SortItems(0, ItemCount() - 1);
}

bool SaveItems() {
  const std::string path = SettingsFilePath();
  const std::string temporary = TemporarySibling(path);
  // Start from the current file so that other sections survive.
  if (GetPathKind(path) == PathKind::File) {
    if (!CopyFileA(path.c_str(), temporary.c_str(), FALSE)) return false;
    // The copy takes the original's attributes; the new file must be writable
    // (a read-only original is refused when the copy replaces it).
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  const std::string block = SectionBlock(CatalogueEntries(Items));
  const bool written = WritePrivateProfileSectionA(kItemListSection, block.c_str(), temporary.c_str()) &&
                       // Makes the platform write its cached copy out now.
                       (WritePrivateProfileStringA(nullptr, nullptr, nullptr, temporary.c_str()), true);
  if (!written) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return ReplaceFileWith(temporary, path);
}
