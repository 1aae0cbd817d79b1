// The OK workflow: check, confirm, write the script, register the menu entry,
// update the list, tidy up after a rename, sort, close and tell the main
// window what was committed (it shows the list and saves it). A step that
// fails stops the workflow with the list unchanged and the disk as the list
// describes it.
#include <algorithm>

#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"
#include "catalogue/item_store.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/validation.h"
#include "common/text_util.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"
#include "ui/message_box.h"
#include "ui/product.h"

namespace {

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
  input.change = ChangeOf(DialogMode());
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
  switch (DialogMode()) {
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
  if (DialogMode() == EditModes::Edit) field = Checked(IDC_CHKFIXEDSTRING) ? IDC_TXTARGMENTS : IDC_TXTAPLPATH;
  FocusFieldControl(Control(field));
  return false;
}

// Writes the item's script and registers its menu entry, as the mode needs
// them. On failure the disk is put back to what the unchanged list
// describes and the message is shown.
bool Store(const ItemRecord& item, const ItemRecord& stored) {
  StoreResult result = StoreResult::Stored;
  switch (DialogMode()) {
    case EditModes::Add:
      result = StoreNewItem(item);
      break;
    case EditModes::Edit:
      result = StoreChangedItem(item, stored);
      break;
    case EditModes::Rename:
      result = StoreRenamedItem(item, stored);
      break;
  }
  if (result == StoreResult::Stored) return true;
  ShowMessage(StoreFailureText(result), kCriticalOk, kProductName);
  return false;
}

// What the commit of the item named name tells the main window.
EditResult Committed(const std::string& name) {
  switch (DialogMode()) {
    case EditModes::Edit:
      return {EditCommit::Edited, frmEdit.EditedIndex};
    case EditModes::Add:
    case EditModes::Rename:
      break;
  }
  const auto at = std::find_if(Items.begin(), Items.end(),
                               [&](const ItemRecord& listed) { return listed.ItemName == name; });
  const int index = at == Items.end() ? -1 : static_cast<int>(at - Items.begin());
  return {DialogMode() == EditModes::Add ? EditCommit::Added : EditCommit::Renamed, index};
}

}  // namespace

void CommitEdit() {
  if (!Validate()) return;
  ItemRecord item = RecordFromFields();
  if (!Confirmed(item.ItemName)) return;

  const bool indexValid = frmEdit.EditedIndex >= 0 && frmEdit.EditedIndex < ItemCount();
  if (DialogMode() != EditModes::Add && !indexValid) return;
  const ItemRecord stored = DialogMode() == EditModes::Add ? ItemRecord{} : Items[frmEdit.EditedIndex];

  if (!Store(item, stored)) return;

  if (DialogMode() == EditModes::Edit) {
    Items[frmEdit.EditedIndex] = item;
  } else {
    Items.push_back(item);
  }
  if (DialogMode() == EditModes::Rename) {
    // The old record still names the old file and key; in a case-only rename
    // they are the new record's, and both calls leave them alone.
    DeleteScriptFile(frmEdit.EditedIndex);
    UnregisterMenuEntry(frmEdit.EditedIndex);
    Items.erase(Items.begin() + frmEdit.EditedIndex);
  }
  if (ItemCount() > 1) SortItems(0, ItemCount() - 1);
  EndEditDialog(Committed(item.ItemName));
}
