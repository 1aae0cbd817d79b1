#include <windows.h>

#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "common/wide_text.h"

std::string Utf16ToCodePage932(std::u16string_view text, bool* exact) {
  return ToAnsiExactly(std::wstring(text.begin(), text.end()), exact);
}

std::string SettingsTextOf(std::string_view bytes) {
  bool exact = true;
  return SettingsTextFromBytes(bytes, Utf16ToCodePage932, &exact);
}

bool LoadItems() { return LoadItemsFrom(SettingsFilePath()); }

bool LoadItemsFrom(const std::string& settingsPath) {
  std::string bytes;
  const bool read = ReadWholeFile(settingsPath, &bytes) || GetPathKind(settingsPath) == PathKind::Missing;
  if (!read) bytes.clear();
  Items = ReadCatalogueText(SettingsTextOf(bytes), IsMenuEntryRegistered, ItemNameLess);
  return read;
}

bool SaveItems() {
  const std::string path = SettingsFilePath();
  std::string current;
  if (GetPathKind(path) == PathKind::File) {
    if (!ReadWholeFile(path, &current)) return false;
    current = SettingsTextOf(current);
  }
  // Other sections keep their bytes; the new file replaces the old one in one
  // step only once it has been written completely.
  return WriteFileAtomically(path, ReplaceIniSection(current, kItemListSection, CatalogueEntries(Items)));
}
