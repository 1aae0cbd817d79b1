// The input dialog in which the user names WWWC's program file: the product
// name as title, a prompt, one entry field, OK and キャンセル. Its template
// (input_dialog.rc) reads the control ids from here too.
#pragma once

// None is 0xFFFF: that id marks the text of a message box, and this dialog is
// no message box.
#define IDD_INPUT 100
#define IDC_INPUT_PROMPT 1001
#define IDC_INPUT_ENTRY 1002

#ifndef RC_INVOKED
#include <string>

// Shows the dialog modally; returns the entry as typed, or "" when the user
// cancelled (or the dialog could not be shown).
std::string AskForText(const std::string& prompt);
#endif
