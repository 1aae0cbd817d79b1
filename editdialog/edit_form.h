// The state of the open edit dialog and what its three parts share: the
// dialog and its fields (edit_dialog_win.cpp), the OK workflow
// (edit_commit_win.cpp) and the parameter menu (parameter_menu_win.cpp).
// Only the edit dialog's own sources include this.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/validation.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog.h"
#include "editdialog/edit_dialog_rules.h"

struct EditForm {
  HWND dialog = nullptr;
  int16_t EditedIndex = 0;  // the item's position in Items (edit, rename)
  std::string InitialName;  // its name as stored when the dialog opened
  UniqueMenu mnuArgs;       // the parameter menu, never shown as a menu bar
  UniqueWindow tooltip;     // destroyed with the form, before the dialog goes
  bool ended = false;       // EndEditDialog ran: the result stands, the window goes
};

// The dialog that is open; dialog is nullptr while none is.
extern EditForm frmEdit;

// What the open dialog was opened for: the request its opener passed, kept
// with the dialog's window (its DWLP_USER) until the window goes.
const EditRequest& Request();
inline EditModes DialogMode() { return Request().mode; }

// Cleared at start and set by a click that brings the focus into a text box
// or by a token insertion: the next focus arrival keeps the caret.
extern bool SuppressSelectAll;

// edit_dialog_win.cpp: the fields, and the focus after a failed check or a
// declined confirmation (the whole text of a text box selected).
HWND Control(int id);
HWND Control(EditControl control);
std::string FieldText(int id);
void SetFieldText(int id, const std::string& text);
bool Checked(int id);
void SetChecked(int id, bool checked);
std::array<bool, 4> CheckedContexts();
void FocusFieldControl(HWND control);
void FocusValidationField(FocusField field);

// parameter_menu_win.cpp: nullptr when the menu could not be made.
UniqueMenu BuildParameterMenu();
// Greys the groups a fixed string cannot use, or offers every group again.
void OfferParameterGroups(bool fixedString);
void OpenParameterMenu();
// A picked token goes in at the parameter box's caret. False for a command
// that is not one of the menu's tokens.
bool OnParameterMenuCommand(int id);

// edit_commit_win.cpp: the OK workflow; closes the dialog when it commits.
void CommitEdit();
