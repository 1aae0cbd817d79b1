// The edit dialog frmEdit, opened by the main window for Add, Edit and Rename.
#pragma once

#include <windows.h>

// Placeholder until the real dialog lands: a modal dialog owned by owner with
// OK and Cancel that changes nothing. Reads EditMode (and DroppedPath in Add
// mode) like the real one; returns when it has closed.
void OpenEditDialog(HWND owner);
