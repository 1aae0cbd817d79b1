// Which part of a text box's text is selected when the focus comes in: the
// whole text when it comes by Tab, an access key or after a failed check, the
// caret where the user clicked when it comes with a click, and the caret left
// alone after a token was put in.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"

namespace {

constexpr UINT_PTR kTextBoxSubclassId = 1;

LRESULT CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The focus arrives with this press: its arrival keeps the caret the
      // click puts.
      if (GetFocus() != box) SuppressSelectAll = true;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, TextBoxProc, kTextBoxSubclassId);
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

bool IsTextBox(int id) {
  return id == IDC_TXTITEMNAME || id == IDC_TXTAPLPATH || id == IDC_TXTARGMENTS || id == IDC_TXTEDITCOMMENT;
}

void SubclassTextBoxes() {
  for (const int id : {IDC_TXTITEMNAME, IDC_TXTAPLPATH, IDC_TXTARGMENTS, IDC_TXTEDITCOMMENT}) {
    SetWindowSubclass(Control(id), TextBoxProc, kTextBoxSubclassId, 0);
  }
}

void SelectAllText(HWND box) {
  if (SuppressSelectAll) return;
  // Anchor at the end, caret at the start.
  SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(box)), 0);
}

void OnControlFocused(int id, HWND control) {
  if (!IsTextBox(id)) return;
  if (id != IDC_TXTITEMNAME || frmEdit.mode != EditModes::Edit) SelectAllText(control);
  SuppressSelectAll = false;
}

void FocusFieldControl(HWND control) {
  if (!control) return;
  if (GetFocus() == control) {
    if (IsTextBox(GetDlgCtrlID(control))) SelectAllText(control);
    return;
  }
  // Through the dialog manager, which also keeps the default button right.
  SendMessageA(frmEdit.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void FocusValidationField(FocusField field) {
  switch (field) {
    case FocusField::ItemName:
      FocusFieldControl(Control(IDC_TXTITEMNAME));
      break;
    case FocusField::Argments:
      FocusFieldControl(Control(IDC_TXTARGMENTS));
      break;
    case FocusField::AplPath:
      FocusFieldControl(Control(IDC_TXTAPLPATH));
      break;
    case FocusField::FirstContext:
      SetFocus(Control(IDC_CHKCONTEXTS0));
      break;
    case FocusField::None:
      break;
  }
}

// Enter in the comment box makes a new line (the box wants the return key),
// so OK does not look like the default button meanwhile.
void ShowOkAsDefault(bool isDefault) {
  SendMessageA(Control(IDOK), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}
