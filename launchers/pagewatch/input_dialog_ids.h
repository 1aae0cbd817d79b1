// Control ids of the input dialog. None is 0xFFFF: that id marks the text of
// a message box, and this dialog is no message box.
#pragma once

#define IDD_INPUT 100
#define IDC_INPUT_PROMPT 1001
#define IDC_INPUT_ENTRY 1002
