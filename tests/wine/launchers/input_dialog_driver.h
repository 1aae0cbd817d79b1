// Finding and answering Pagewatch's input dialog from the test process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DialogControl {
  std::string className;
  std::string text;  // code page 932
  int id = 0;
};

// Waits for a visible dialog (#32770) of process pid titled title that holds
// an edit field, other than skip; nullptr after the timeout.
HWND WaitForInputDialog(DWORD pid, const std::string& title, HWND skip = nullptr, DWORD timeoutMs = 10000);

// The dialog's child controls in z-order.
std::vector<DialogControl> DialogControls(HWND dialog);

// Types entry into the edit field and presses OK (or キャンセル).
void AnswerInputDialog(HWND dialog, const std::string& entry, bool ok = true);
