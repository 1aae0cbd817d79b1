// The edit dialog frmEdit, opened by the main window for Add, Edit and Rename.
#pragma once

#include <windows.h>

// Shows the dialog modally over owner in the mode EditMode says (with
// DroppedPath in Add mode, and the item selected in the main window's list in
// Edit and Rename mode) and returns when it has closed. A commit has then
// changed Items, the item's script file and menu entry, rebuilt the list and
// saved the settings file.
void OpenEditDialog(HWND owner);

// The open edit dialog, nullptr while none is open.
HWND EditDialogWindow();
