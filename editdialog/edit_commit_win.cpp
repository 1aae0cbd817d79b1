// The OK workflow: check, confirm, write the script, register the menu entry,
// update the list, tidy up after a rename, sort, close and tell the main
// window what was committed (it shows the list and saves it). A step that
// fails stops the workflow with the list unchanged and the disk as the list
// describes it.
#include <algorithm>

#include "catalogue/fixed_string_script.h"
#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"
#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/validation.h"
#include "common/atomic_file.h"
#include "common/text_util.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"
#include "ui/message_box.h"
#include "ui/product.h"

namespace {

constexpr char kScriptFailed[] = "スクリプトファイルの作成に失敗しました。";
constexpr char kRegisterFailed[] = "ＩＥの右クリックメニューへの登録に失敗しました。";

// The record the dialog's fields describe. A fixed-string item keeps none of
// what the greyed controls still show.
ItemRecord RecordFromFields() {
  ItemRecord item;
  item.ItemName = TrimBlanks(FieldText(IDC_TXTITEMNAME));
  item.FixedString = Checked(IDC_CHKFIXEDSTRING) ? 1 : 0;
  item.Argments = FieldText(IDC_TXTARGMENTS);
  item.Comment = FieldText(IDC_TXTEDITCOMMENT);
  if (item.FixedString) {
    item.AplPath = "";
    item.Contexts = {0, 0, 0, 0};
    item.WindowStyle = 1;
    item.ConfCmdLine = 0;
  } else {
    item.AplPath = TrimBlanks(FieldText(IDC_TXTAPLPATH));
    const std::array<bool, 4> contexts = CheckedContexts();
    for (int i = 0; i < 4; ++i) item.Contexts[i] = contexts[i] ? 1 : 0;
    item.WindowStyle = static_cast<int16_t>(SendMessageA(Control(IDC_CMBWINDOUSTYLE), CB_GETCURSEL, 0, 0));
    item.ConfCmdLine = Checked(IDC_CHKCONFCMDLINE) ? 1 : 0;
  }
  return item;
}

std::array<bool, 4> ContextFlags(const ItemRecord& item) {
  return {item.Contexts[0] != 0, item.Contexts[1] != 0, item.Contexts[2] != 0, item.Contexts[3] != 0};
}

// The checks the mode asks for.
ItemChange ChangeOf(EditModes mode) {
  switch (mode) {
    case EditModes::Add:
      return ItemChange::Add;
    case EditModes::Edit:
      return ItemChange::Edit;
    case EditModes::Rename:
      return ItemChange::Rename;
  }
  return ItemChange::Add;
}

bool Validate() {
  ValidationInput input;
  input.change = ChangeOf(frmEdit.mode);
  input.storedName = frmEdit.InitialName;
  input.nameField = FieldText(IDC_TXTITEMNAME);
  input.parameterField = FieldText(IDC_TXTARGMENTS);
  input.pathField = FieldText(IDC_TXTAPLPATH);
  input.fixedString = Checked(IDC_CHKFIXEDSTRING);
  input.contexts = CheckedContexts();
  for (const ItemRecord& item : Items) input.itemNames.push_back(item.ItemName);
  input.scriptFolder = UserFolder;
  const ValidationResult result = ValidateItem(input);
  if (result.passed) return true;
  ShowMessage(result.message, kWarningOk, kProductName);
  FocusValidationField(result.focus);
  return false;
}

bool Confirmed(const std::string& name) {
  std::string question;
  switch (frmEdit.mode) {
    case EditModes::Add:
      question = "ＩＥの右クリックメニューに「" + name + "」を登録しますか？";
      break;
    case EditModes::Edit:
      question = "入力された内容で更新しますか？";
      break;
    case EditModes::Rename:
      question = "項目名を変更しますか？";
      break;
  }
  if (ShowMessage(question, kQuestionYesNo, kProductName) == IDYES) return true;
  int field = IDC_TXTITEMNAME;
  if (frmEdit.mode == EditModes::Edit) field = Checked(IDC_CHKFIXEDSTRING) ? IDC_TXTARGMENTS : IDC_TXTAPLPATH;
  FocusFieldControl(Control(field));
  return false;
}

bool WriteScript(const ItemRecord& item) {
  const bool written = item.FixedString ? WriteFixedStringScript(item.ItemName, item.Argments)
                                        : WriteLauncherScript(item.ItemName, item.AplPath, item.Argments,
                                                              item.WindowStyle, item.ConfCmdLine != 0);
  if (!written) ShowMessage(kScriptFailed, kCriticalOk, kProductName);
  return written;
}

bool Register(const ItemRecord& item) {
  return RegisterMenuEntry(item.ItemName, item.FixedString != 0, ContextFlags(item));
}

// The script file as it was before this OK rewrote it, to put back when the
// registration that follows fails.
struct ScriptBackup {
  std::string path;
  std::string bytes;
  bool existed = false;

  void Take(const std::string& itemName) {
    path = ScriptFilePath(itemName);
    existed = ReadWholeFile(path, &bytes);
  }
  void Restore() const {
    if (existed) WriteFileAtomically(path, bytes);
  }
};

// Registers the entry of the edited item, as the mode needs it. On failure
// the disk is put back to what the unchanged list describes and false is
// returned; the caller shows the message.
bool RegisterOrRollBack(const ItemRecord& item, const ItemRecord* stored, const ScriptBackup& backup) {
  switch (frmEdit.mode) {
    case EditModes::Add:
      if (Register(item)) return true;
      // Nothing of the new name is listed: neither its file nor a half-made key stays.
      DeleteFileA(ScriptFilePath(item.ItemName).c_str());
      DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));
      return false;
    case EditModes::Edit:
      // Kind and contexts unchanged: the key already says all the script needs.
      if (item.FixedString == stored->FixedString && item.Contexts == stored->Contexts) return true;
      if (Register(item)) return true;
      backup.Restore();
      Register(*stored);
      return false;
    case EditModes::Rename:
      if (!SameStorageName(item.ItemName, stored->ItemName)) {
        if (Register(item)) return true;
        DeleteFileA(ScriptFilePath(item.ItemName).c_str());
        DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));
        return false;
      }
      // Only the letter case changes: the key and file are the old ones. A
      // key keeps the case it was made with, so it is made anew.
      DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(stored->ItemName));
      if (Register(item)) return true;
      DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));
      DeleteFileA(ScriptFilePath(item.ItemName).c_str());
      backup.Restore();
      Register(*stored);
      return false;
  }
  return false;
}

// What the commit of the item named name tells the main window.
EditResult Committed(const std::string& name) {
  switch (frmEdit.mode) {
    case EditModes::Edit:
      return {EditCommit::Edited, frmEdit.EditedIndex};
    case EditModes::Add:
    case EditModes::Rename:
      break;
  }
  const auto at = std::find_if(Items.begin(), Items.end(),
                               [&](const ItemRecord& listed) { return listed.ItemName == name; });
  const int index = at == Items.end() ? -1 : static_cast<int>(at - Items.begin());
  return {frmEdit.mode == EditModes::Add ? EditCommit::Added : EditCommit::Renamed, index};
}

}  // namespace

void CommitEdit() {
  if (!Validate()) return;
  ItemRecord item = RecordFromFields();
  if (!Confirmed(item.ItemName)) return;

  const bool indexValid = frmEdit.EditedIndex >= 0 && frmEdit.EditedIndex < ItemCount();
  if (frmEdit.mode != EditModes::Add && !indexValid) return;
  const ItemRecord stored = frmEdit.mode == EditModes::Add ? ItemRecord{} : Items[frmEdit.EditedIndex];

  ScriptBackup backup;
  if (frmEdit.mode != EditModes::Add) backup.Take(stored.ItemName);
  const bool caseOnlyRename =
      frmEdit.mode == EditModes::Rename && SameStorageName(item.ItemName, stored.ItemName);
  // A file replaced in place keeps the letter case of its old name, so the
  // old one goes first (its bytes are kept to put back).
  if (caseOnlyRename && backup.existed) DeleteFileA(backup.path.c_str());
  if (!WriteScript(item)) {
    if (caseOnlyRename) backup.Restore();
    return;
  }
  if (!RegisterOrRollBack(item, &stored, backup)) {
    ShowMessage(kRegisterFailed, kCriticalOk, kProductName);
    return;
  }

  if (frmEdit.mode == EditModes::Edit) {
    Items[frmEdit.EditedIndex] = item;
  } else {
    Items.push_back(item);
  }
  if (frmEdit.mode == EditModes::Rename) {
    // The old record still names the old file and key; in a case-only rename
    // they are the new record's, and both calls leave them alone.
    DeleteScriptFile(frmEdit.EditedIndex);
    UnregisterMenuEntry(frmEdit.EditedIndex);
    Items.erase(Items.begin() + frmEdit.EditedIndex);
  }
  if (ItemCount() > 1) SortItems(0, ItemCount() - 1);
  EndEditDialog(Committed(item.ItemName));
}
