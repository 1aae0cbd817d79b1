#include "catalogue/item_store.h"

#include <windows.h>

#include "catalogue/fixed_string_script.h"
#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "common/atomic_file.h"

namespace {

bool WriteItemScript(const ItemRecord& item) {
  return item.FixedString ? WriteFixedStringScript(item.ItemName, item.Argments)
                          : WriteLauncherScript(item.ItemName, item.AplPath, item.Argments, item.WindowStyle,
                                                item.ConfCmdLine != 0);
}

bool RegisterItem(const ItemRecord& item) {
  return RegisterMenuEntry(item.ItemName, item.FixedString != 0, ContextFlags(item));
}

}  // namespace

const char* StoreFailureText(StoreResult result) {
  switch (result) {
    case StoreResult::ScriptFailed:
      return kScriptFailedText;
    case StoreResult::RegisterFailed:
      return kRegisterFailedText;
    case StoreResult::Stored:
      break;
  }
  return "";
}

void ScriptBackup::Take(const std::string& itemName) {
  path = ScriptFilePath(itemName);
  existed = ReadWholeFile(path, &bytes);
}

void ScriptBackup::Restore() const {
  // A file that was not there before goes again.
  if (existed) {
    WriteFileAtomically(path, bytes);
  } else {
    DeleteFileA(path.c_str());
  }
}

void RemoveStoredItem(const std::string& itemName) {
  DeleteFileA(ScriptFilePath(itemName).c_str());
  DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(itemName));
}

StoreResult StoreNewItem(const ItemRecord& item) {
  if (!WriteItemScript(item)) return StoreResult::ScriptFailed;
  if (RegisterItem(item)) return StoreResult::Stored;
  RemoveStoredItem(item.ItemName);
  return StoreResult::RegisterFailed;
}

StoreResult StoreChangedItem(const ItemRecord& item, const ItemRecord& stored, ScriptBackup* backup) {
  ScriptBackup taken;
  taken.Take(stored.ItemName);
  if (!WriteItemScript(item)) return StoreResult::ScriptFailed;
  const bool sameEntry = item.FixedString == stored.FixedString && item.Contexts == stored.Contexts;
  if (!sameEntry && !RegisterItem(item)) {
    UndoStoredChange(stored, taken);
    return StoreResult::RegisterFailed;
  }
  if (backup) *backup = std::move(taken);
  return StoreResult::Stored;
}

StoreResult StoreRenamedItem(const ItemRecord& item, const ItemRecord& stored) {
  if (!SameStorageName(item.ItemName, stored.ItemName)) return StoreNewItem(item);
  ScriptBackup backup;
  backup.Take(stored.ItemName);
  if (backup.existed) DeleteFileA(backup.path.c_str());
  if (!WriteItemScript(item)) {
    backup.Restore();
    return StoreResult::ScriptFailed;
  }
  DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(stored.ItemName));
  if (RegisterItem(item)) return StoreResult::Stored;
  RemoveStoredItem(item.ItemName);
  UndoStoredChange(stored, backup);
  return StoreResult::RegisterFailed;
}

void UndoStoredChange(const ItemRecord& stored, const ScriptBackup& backup) {
  backup.Restore();
  RegisterItem(stored);
}
