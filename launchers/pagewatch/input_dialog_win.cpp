#include <windows.h>

#include "common/wide_text.h"
#include "launchers/common/launcher.h"
#include "launchers/pagewatch/input_dialog.h"

namespace {

struct InputState {
  const std::string* prompt;
  std::string entry;
};

INT_PTR OnInitDialog(HWND dialog, InputState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  SetWindowTextA(dialog, kProductName);
  SetDlgItemTextA(dialog, IDC_INPUT_PROMPT, state->prompt->c_str());
  SetForegroundWindow(dialog);
  SetFocus(GetDlgItem(dialog, IDC_INPUT_ENTRY));
  return FALSE;  // the focus is set
}

INT_PTR OnCommand(HWND dialog, WORD id) {
  auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (id == IDOK) {
    state->entry = WindowTextThroughAnsi(GetDlgItem(dialog, IDC_INPUT_ENTRY));
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (id == IDCANCEL) {
    state->entry.clear();
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, reinterpret_cast<InputState*>(lParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

std::string AskForText(const std::string& prompt) {
  InputState state{&prompt, {}};
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INPUT), nullptr,
                                         InputDialogProc, reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? state.entry : std::string();
}
