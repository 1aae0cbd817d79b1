// The commands of the main window's list and buttons: add, edit, rename,
// delete, delete all, and the timer that turns a dropped file into an Add.
#pragma once

void OnAddClick();
void OnEditClick();  // also double-click and Enter in the list
void OnRenameClick();
void OnDelClick();  // also the Delete key in the list
void OnAllDelClick();
void OnTimer1();  // the tick after an accepted drop
