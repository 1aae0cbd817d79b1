#include "mainwindow/list_commands.h"

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "common/path_kind.h"
#include "editdialog/edit_dialog.h"
#include "mainwindow/item_exchange.h"
#include "mainwindow/list_rules.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "ui/message_box.h"
#include "ui/product.h"

namespace {

// Opens the edit dialog in mode over the main window on the selected item.
// What it committed is shown in the list (an edited item stays selected, else
// the first line is) and reaches the settings file at once; then the window
// has the focus back.
void OpenEditor(EditModes mode, const std::string& droppedPath = "") {
  HWND window = MainWindow();
  // The buttons follow the list before Add opens, not only once the window
  // has its focus back: a cancelled Add changes nothing, so the buttons are
  // right the moment the dialog goes. Getting the focus back can take a
  // while (on an English system it was seen to), and until then Edit,
  // Rename and Delete would stay enabled over a list with nothing selected.
  if (mode == EditModes::Add) UpdateButtons();
  const EditResult result = OpenEditDialog(window, {mode, SelectedItemIndex(), droppedPath});
  if (result.commit != EditCommit::None) {
    if (result.commit == EditCommit::Added) ShowItemCount();
    RebuildItemList(result.commit == EditCommit::Edited ? result.index : 0);
    SaveCatalogue();
  }
  SetFocus(window);
  if (mode == EditModes::Add) UpdateButtons();
}

bool Confirmed(const std::string& question) {
  return ShowMessage(question, kQuestionYesNoNoDefault, kProductName) == IDYES;
}

}  // namespace

void OnAddClick() { OpenEditor(EditModes::Add); }

void OnEditClick() {
  if (SelectedItemIndex() < 0) return;
  OpenEditor(EditModes::Edit);
}

void OnRenameClick() {
  if (SelectedItemIndex() < 0) return;
  OpenEditor(EditModes::Rename);
}

void OnDelClick() {
  const int index = SelectedItemIndex();
  if (index < 0 || index >= ItemCount()) return;
  if (!Confirmed(DeleteConfirmText(Items[index].ItemName))) return;
  // A script file or key that is already gone or cannot be removed does not
  // keep the item in the list.
  DeleteScriptFile(index);
  UnregisterMenuEntry(index);
  Items.erase(Items.begin() + index);
  HWND list = MainDlgItem(IDC_LSTITEMS);
  SendMessageA(list, LB_DELETESTRING, index, 0);
  if (ItemCount() > 0) SendMessageA(list, LB_SETCURSEL, 0, 0);
  ShowItemCount();
  UpdateButtons();
  SaveCatalogue();
}

void OnAllDelClick() {
  if (ItemCount() == 0) return;
  if (!Confirmed(kDeleteAllConfirmText)) return;
  // Always the first record, removed from the list before the next: the
  // storage of a name is kept while another listed name differs from it only
  // in letter case, so the last of such names is the one that removes it.
  while (ItemCount() > 0) {
    DeleteScriptFile(0);
    UnregisterMenuEntry(0);
    Items.erase(Items.begin());
  }
  RebuildItemList(-1);
  ShowItemCount();
  UpdateButtons();
  SaveCatalogue();
}

void OnTimer1() {
  // Off before the dialog opens: the dialog's own message loop would
  // otherwise deliver further ticks and open a second one.
  KillTimer(MainWindow(), kTimer1);
  const std::string path = TakePendingDrop();
  // The drop took the file as an item file or a program: an item file is
  // imported, a program opens Add with its path.
  if (IsItemFileDrop(path, PathKind::File)) {
    ImportIntoWindow(path);
    return;
  }
  OpenEditor(EditModes::Add, path);
}
