#include "editdialog/edit_dialog.h"

#include "editdialog/edit_dialog_resource.h"
#include "mainwindow/edit_mode.h"
#include "mainwindow/message_box.h"

namespace {

const char* Caption(EditModes mode) {
  switch (mode) {
    case EditModes::Add: return "追加";
    case EditModes::Edit: return "編集";
    case EditModes::Rename: return "名称変更";
  }
  return "";
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, Caption(EditMode));
      SetDlgItemTextA(dialog, IDC_EDIT_PLACEHOLDER, EditMode == EditModes::Add ? DroppedPath.c_str() : "");
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) MessageOwner = dialog;
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

void OpenEditDialog(HWND owner) {
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EDIT), owner, EditDialogProc, 0);
}
