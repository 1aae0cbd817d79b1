#include "catalogue/menu_registration.h"

#include "common/text_util.h"

#ifdef _WIN32
#include <windows.h>

#include "catalogue/item_record.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "common/path_kind.h"
#include "common/wide_text.h"
#endif

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

#ifdef _WIN32
namespace {

// Another listed item still stored under the same key and file as Items[index].
bool StorageSharedByAnother(int index) {
  for (int i = 0; i < ItemCount(); ++i) {
    if (i != index && SameStorageName(Items[i].ItemName, Items[index].ItemName)) return true;
  }
  return false;
}

bool ValidIndex(int index) { return index >= 0 && index < ItemCount(); }

// The script the key of the item's name names: its default value, empty
// when there is no such key.
std::string MenuEntryScript(const std::string& itemName) {
  return ReadRegistryValue(RegHive::CurrentUser, MenuEntryKey(itemName), "", kRegSz, RegistryValue{}).text;
}

}  // namespace

bool SameStorageName(const std::string& a, const std::string& b) {
  const std::wstring wa = ToWide(a), wb = ToWide(b);
  return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()),
                              TRUE) == CSTR_EQUAL;
}

bool RegisterMenuEntry(const std::string& itemName, bool fixedString, const std::array<bool, 4>& contexts) {
  const std::string key = MenuEntryKey(itemName);
  RegistryValue scriptPath;
  scriptPath.text = ScriptFilePath(itemName);
  if (!WriteRegistryValue(RegHive::CurrentUser, key, "", kRegSz, scriptPath)) return false;
  RegistryValue mask;
  mask.number = ContextsMask(fixedString, contexts);
  if (!WriteRegistryValue(RegHive::CurrentUser, key, "Contexts", kRegDword, mask)) return false;
  return WriteRegistryValue(RegHive::CurrentUser, key, "Flags", kRegDword, RegistryValue{});
}

bool UnregisterMenuEntry(int index) {
  if (!ValidIndex(index) || StorageSharedByAnother(index)) return false;
  return DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(Items[index].ItemName));
}

bool DeleteScriptFile(int index) {
  if (!ValidIndex(index) || StorageSharedByAnother(index)) return false;
  return DeleteFileA(ScriptFilePath(Items[index].ItemName).c_str()) != FALSE;
}

bool IsMenuEntryRegistered(const std::string& itemName) { return !MenuEntryScript(itemName).empty(); }

bool MenuEntryBelongsToAnother(const std::string& itemName) {
  const std::string script = MenuEntryScript(itemName);
  if (script.empty() || SameStorageName(script, ScriptFilePath(itemName))) return false;
  // An entry that names a file no longer there (Orbisk's folder moved, a
  // program removed) is dead and free to take; one that names a resource
  // (res://…) or another address is taken as live.
  return script.find("://") != std::string::npos || GetPathKind(script) != PathKind::Missing;
}
#endif  // _WIN32
