// The state of the open edit dialog and the handlers its parts share. Only
// the edit dialog's own sources include this.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "catalogue/item_record.h"
#include "catalogue/validation.h"
#include "editdialog/edit_dialog_layout.h"
#include "mainwindow/edit_mode.h"

struct EditForm {
  HWND dialog = nullptr;
  EditModes mode = EditModes::Add;
  int16_t EditedIndex = 0;     // the item's position in Items (edit, rename)
  std::string InitialName;     // its name as stored when the dialog opened
  int LastFocusedControl = 0;  // control id of the control that last got the focus
  HMENU mnuArgs = nullptr;     // the parameter menu, never shown as a menu bar
  HWND tooltip = nullptr;
};

// The dialog that is open; dialog is nullptr while none is.
extern EditForm frmEdit;

// Cleared at start and set by a click that brings the focus into a text box
// or by a token insertion: the next focus arrival keeps the caret.
extern bool SuppressSelectAll;

HWND Control(int id);
int ControlId(EditControl control);
std::string FieldText(int id);
void SetFieldText(int id, const std::string& text);
bool Checked(int id);
void SetChecked(int id, bool checked);
std::array<bool, 4> CheckedContexts();

// focus_rules.cpp
bool IsTextBox(int id);
void SelectAllText(HWND box);
void FocusFieldControl(HWND control);
void FocusValidationField(FocusField field);
void OnControlFocused(int id, HWND control);
void SubclassTextBoxes();
void ShowOkAsDefault(bool isDefault);

// item_kind.cpp
void ApplyItemKind();

// parameter_menu.cpp
HMENU BuildParameterMenu();
void OpenParameterMenu();
void InsertToken(const std::string& token);
int GetCaretPosition();

// edit_commit.cpp: the OK workflow; closes the dialog when it commits.
void CommitEdit();

// show_script.cpp
void ShowScript();

// browse.cpp
void OnBrowseClick();
