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

// What the dialog is opened for. It keeps the request with its window
// until it closes.
struct EditRequest {
  EditModes mode = EditModes::Add;
  // Edit and Rename: the item's position in Items (the line selected in the
  // main window's list).
  int selectedIndex = -1;
  // Add: the path of a program file dropped on the list, to fill in.
  std::string droppedPath;
};

// What the dialog committed before it closed.
enum class EditCommit { None, Added, Edited, Renamed };

struct EditResult {
  EditCommit commit = EditCommit::None;
  // Where the committed item is in Items, which is sorted again: an edited
  // item at the position it was edited at, an added or renamed one where the
  // sort put it. -1 when nothing was committed.
  int index = -1;
};

// Shows the dialog modally over owner for the request and returns what it
// committed when it has closed. A commit has changed Items, the item's
// script file and its menu entry; showing the list and saving the settings
// file are the caller's.
EditResult OpenEditDialog(HWND owner, const EditRequest& request);

// Closes the open dialog; its OpenEditDialog returns result. The OK workflow
// ends here after a commit. Only the first call counts: the dialog is gone
// as soon as its modal loop sees it ended.
void EndEditDialog(const EditResult& result);

// The open edit dialog, nullptr while none is open.
HWND EditDialogWindow();

// What the open dialog was asked for; a default request while none is open.
EditRequest EditDialogRequest();
