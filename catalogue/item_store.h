// What an item is on disk besides its line in the settings file: its script
// file and its menu entry. The edit dialog's OK and the import write them
// the same way, and a write that fails leaves the disk as the unchanged list
// describes it.
#pragma once

#include <string>

#include "catalogue/item_record.h"

inline constexpr char kScriptFailedText[] = "スクリプトファイルの作成に失敗しました。";
inline constexpr char kRegisterFailedText[] = "ＩＥの右クリックメニューへの登録に失敗しました。";

enum class StoreResult { Stored, ScriptFailed, RegisterFailed };

// The message for a failed store; "" for Stored.
const char* StoreFailureText(StoreResult result);

// An item's script file as it was before a write, to put back when what
// follows the write fails.
struct ScriptBackup {
  std::string path;
  std::string bytes;
  bool existed = false;

  void Take(const std::string& itemName);
  void Restore() const;
};

// Writes the script file of item and registers its menu entry. On failure
// neither the new file nor a half-made key of its name stays.
StoreResult StoreNewItem(const ItemRecord& item);

// Rewrites the script file of stored with the fields of item, which has the
// same name, and registers its menu entry when the kind or the contexts
// changed (the key already says all else the script needs). On failure the
// stored item's file and entry are put back. backup, when given, receives
// the file as it was, for a later UndoStoredChange.
StoreResult StoreChangedItem(const ItemRecord& item, const ItemRecord& stored,
                             ScriptBackup* backup = nullptr);

// Writes the script file and menu entry of item under its new name, for
// stored renamed to it; stored's own file and entry are its caller's to
// remove. When only the letter case changes, the key and file are the old
// ones: a key keeps the case it was made with, so it is made anew, and a
// file replaced in place keeps the case of its old name, so the old one goes
// first. On failure stored's file and entry are put back.
StoreResult StoreRenamedItem(const ItemRecord& item, const ItemRecord& stored);

// Takes back a StoreChangedItem that succeeded: the old file and entry again.
void UndoStoredChange(const ItemRecord& stored, const ScriptBackup& backup);

// Removes the script file and the menu entry of a name that no listed item
// uses (an item whose store is being taken back).
void RemoveStoredItem(const std::string& itemName);
