#include "mainwindow/list_commands.h"

#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "editdialog/edit_dialog.h"
#include "mainwindow/edit_mode.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/resource.h"
#include "mainwindow/settings_save.h"

namespace {

// Opens the edit dialog in mode over the main window and gives the window the
// focus back. A change the dialog committed reaches the settings file at once
// unless the dialog saved it already.
void OpenEditor(EditModes mode) {
  HWND window = MainWindow();
  EditMode = mode;
  const std::vector<ItemRecord> before = Items;
  OpenEditDialog(window);
  SetFocus(window);
  if (mode == EditModes::Add) UpdateButtons();
  if (Items != before && !CatalogueSaved()) SaveCatalogue();
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
  OnAddClick();
  DroppedPath.clear();
}
