// The state of the open edit dialog and the handlers its parts share. Only
// the edit dialog's own sources include this.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/item_record.h"
#include "catalogue/validation.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog.h"
#include "editdialog/edit_dialog_layout.h"

struct EditForm {
  HWND dialog = nullptr;
  EditModes mode = EditModes::Add;
  int16_t EditedIndex = 0;  // the item's position in Items (edit, rename)
  std::string InitialName;  // its name as stored when the dialog opened
  UniqueMenu mnuArgs;       // the parameter menu, never shown as a menu bar
  HWND tooltip = nullptr;
  bool ended = false;  // EndEditDialog ran: the result stands, the window goes
};

// The dialog that is open; dialog is nullptr while none is.
extern EditForm frmEdit;

// Cleared at start and set by a click that brings the focus into a text box
// or by a token insertion: the next focus arrival keeps the caret.
extern bool SuppressSelectAll;

HWND Control(int id);
HWND Control(EditControl control);
std::string FieldText(int id);
void SetFieldText(int id, const std::string& text);
bool Checked(int id);
void SetChecked(int id, bool checked);
std::array<bool, 4> CheckedContexts();

// focus_rules_win.cpp
bool IsTextBox(int id);
void SelectAllText(HWND box);
void FocusFieldControl(HWND control);
void FocusValidationField(FocusField field);
void OnControlFocused(int id, HWND control);
void SubclassTextBoxes();
void ShowOkAsDefault(bool isDefault);

// item_kind_win.cpp
void ApplyItemKind();

// parameter_menu_win.cpp: nullptr when the menu could not be made.
UniqueMenu BuildParameterMenu();
void OpenParameterMenu();
void InsertToken(const std::string& token);
int GetCaretPosition();

// edit_commit_win.cpp: the OK workflow; closes the dialog when it commits.
void CommitEdit();

// show_script_win.cpp
void ShowScript();

// browse_win.cpp
void OnBrowseClick();
