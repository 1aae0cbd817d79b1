// The edit dialog frmEdit, opened by the main window for Add, Edit and Rename.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// What the dialog is opened for: a new item, the fields of the selected one,
// or its name alone. The mode decides the caption, what the fields start
// with, which of them can be changed, the checks and the confirmation OK
// asks for, and what a commit does on disk.
enum class EditModes : int16_t { Add = 0, Edit = 1, Rename = 2 };

// Set by the main window just before the dialog opens. In Edit and Rename
// mode the dialog works on the item selected in the main window's list.
extern EditModes EditMode;

// Path of a program file dropped on the list, for the dialog's Add mode to
// fill in; "" except between an accepted drop and the close of the dialog it
// opened.
extern std::string DroppedPath;

// What the dialog committed before it closed.
enum class EditCommit { None, Added, Edited, Renamed };

struct EditResult {
  EditCommit commit = EditCommit::None;
  // Where the committed item is in Items, which is sorted again: an edited
  // item at the position it was edited at, an added or renamed one where the
  // sort put it. -1 when nothing was committed.
  int index = -1;
};

// Shows the dialog modally over owner in the mode EditMode says (with
// DroppedPath in Add mode, and Items[selectedIndex] in Edit and Rename mode)
// and returns what it committed when it has closed. A commit has changed
// Items, the item's script file and its menu entry; showing the list and
// saving the settings file are the caller's.
EditResult OpenEditDialog(HWND owner, int selectedIndex);

// Closes the open dialog; its OpenEditDialog returns result. The OK workflow
// ends here after a commit. Only the first call counts: the dialog is gone
// as soon as its modal loop sees it ended.
void EndEditDialog(const EditResult& result);

// The open edit dialog, nullptr while none is open.
HWND EditDialogWindow();
