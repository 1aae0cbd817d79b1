#include "editdialog/edit_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "catalogue/item_record.h"
#include "catalogue/placeholders.h"
#include "common/wide_text.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"
#include "ui/control_layout.h"
#include "ui/field_help.h"
#include "ui/message_box.h"

static_assert(IDC_BTNOK == IDOK && IDC_BTNCANCEL == IDCANCEL);

EditModes EditMode = EditModes::Add;
std::string DroppedPath;
EditForm frmEdit;
bool SuppressSelectAll = false;

namespace {

// What the dialog that is open was asked to work on, and what it committed.
int requestedIndex = -1;
EditResult committed;

constexpr const char* kWindowStyles[4] = {"非表示", "通常のウィンドウ", "最小化表示", "最大化表示"};

const char* Caption(EditModes mode) {
  switch (mode) {
    case EditModes::Add:
      return "追加";
    case EditModes::Edit:
      return "編集";
    case EditModes::Rename:
      return "名称変更";
  }
  return "";
}

// Puts every control where the layout in twips says, at the screen's DPI,
// gives it its help topic, sizes the client area and centres the dialog over
// its owner, inside the work area.
void PlaceControlsAndDialog() {
  HWND dialog = frmEdit.dialog;
  const SIZE size = PlaceControls(dialog, kEditLayout, kEditClientWidthTwips, kEditClientHeightTwips);
  // The heading sits on the frame's top line, above it.
  SetWindowPos(Control(IDC_FRACONTEXTS), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  RECT owner;
  HWND ownerWindow = GetWindow(dialog, GW_OWNER);
  if (!ownerWindow || !GetWindowRect(ownerWindow, &owner)) {
    owner = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  int left = owner.left + (owner.right - owner.left - size.cx) / 2;
  int top = owner.top + (owner.bottom - owner.top - size.cy) / 2;
  left = std::max<int>(work.left, std::min<int>(left, work.right - size.cx));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - size.cy));
  SetWindowPos(dialog, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateTooltips() {
  frmEdit.tooltip =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, frmEdit.dialog, nullptr,
                      GetModuleHandleA(nullptr), nullptr);
  if (!frmEdit.tooltip) return;
  for (const EditControl control : kEditControls) {
    const char* tip = EditTooltip(control);
    if (!tip) continue;
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = frmEdit.dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(control));
    tool.lpszText = const_cast<char*>(tip);
    SendMessageA(frmEdit.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void FillFromRecord(const ItemRecord& item) {
  SetFieldText(IDC_TXTITEMNAME, item.ItemName);
  frmEdit.InitialName = item.ItemName;
  SetChecked(IDC_CHKFIXEDSTRING, item.FixedString != 0);
  ApplyItemKind();
  SetFieldText(IDC_TXTARGMENTS, item.Argments);
  SetFieldText(IDC_TXTEDITCOMMENT, item.Comment);
  HWND styles = Control(IDC_CMBWINDOUSTYLE);
  if (item.FixedString != 0) {
    SetFieldText(IDC_TXTAPLPATH, "");
    for (int i = 0; i < 4; ++i) SetChecked(IDC_CHKCONTEXTS0 + i, false);
    SendMessageA(styles, CB_SETCURSEL, 1, 0);
    SetChecked(IDC_CHKCONFCMDLINE, false);
  } else {
    SetFieldText(IDC_TXTAPLPATH, item.AplPath);
    for (int i = 0; i < 4; ++i) SetChecked(IDC_CHKCONTEXTS0 + i, item.Contexts[i] != 0);
    SendMessageA(styles, CB_SETCURSEL, item.WindowStyle, 0);
    SetChecked(IDC_CHKCONFCMDLINE, item.ConfCmdLine != 0);
  }
}

// The load, by mode. Returns the control that takes the first focus.
HWND OnLoad(HWND dialog) {
  frmEdit = EditForm{};
  frmEdit.dialog = dialog;
  frmEdit.mode = EditMode;
  PlaceControlsAndDialog();
  frmEdit.mnuArgs = BuildParameterMenu();
  HWND styles = Control(IDC_CMBWINDOUSTYLE);
  for (const char* style : kWindowStyles)
    SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style));
  SubclassTextBoxes();
  CreateTooltips();
  SetWindowTextA(dialog, Caption(frmEdit.mode));

  if (frmEdit.mode == EditModes::Add) {
    if (!DroppedPath.empty()) SetFieldText(IDC_TXTAPLPATH, DroppedPath);
    SendMessageA(styles, CB_SETCURSEL, 1, 0);
    ShowWindow(Control(IDC_BTNOPENSOURCE), SW_HIDE);
    ApplyItemKind();
    return Control(IDC_TXTITEMNAME);
  }

  const int selected = requestedIndex;
  frmEdit.EditedIndex = static_cast<int16_t>(selected);
  if (selected >= 0 && selected < ItemCount()) FillFromRecord(Items[selected]);

  if (frmEdit.mode == EditModes::Edit) {
    HWND name = Control(IDC_TXTITEMNAME);
    SendMessageA(name, EM_SETREADONLY, TRUE, 0);
    SetWindowLongPtrA(name, GWL_STYLE, GetWindowLongPtrA(name, GWL_STYLE) & ~WS_TABSTOP);
    return Control(Checked(IDC_CHKFIXEDSTRING) ? IDC_TXTARGMENTS : IDC_TXTAPLPATH);
  }

  for (const int id : {IDC_CHKFIXEDSTRING, IDC_TXTAPLPATH, IDC_BTNBROWS, IDC_BTNMENU, IDC_TXTARGMENTS,
                       IDC_TXTEDITCOMMENT, IDC_CHKCONTEXTS0, IDC_CHKCONTEXTS1, IDC_CHKCONTEXTS2,
                       IDC_CHKCONTEXTS3, IDC_CMBWINDOUSTYLE, IDC_CHKCONFCMDLINE}) {
    EnableWindow(Control(id), FALSE);
  }
  return Control(IDC_TXTITEMNAME);
}

void OnCommand(int id, int notification, HWND control) {
  if (id >= IDM_TOKEN_BASE && id < IDM_TOKEN_BASE + kPlaceholderCount) {
    InsertToken(kPlaceholders[id - IDM_TOKEN_BASE].token);
    return;
  }
  switch (notification) {
    case EN_SETFOCUS:
    case BN_SETFOCUS:
    case CBN_SETFOCUS:
      OnControlFocused(id, control);
      if (id == IDC_TXTEDITCOMMENT) ShowOkAsDefault(false);
      return;
    case EN_KILLFOCUS:
      if (id == IDC_TXTEDITCOMMENT) ShowOkAsDefault(true);
      return;
  }
  if (notification != BN_CLICKED) return;
  switch (id) {
    case IDOK:
      CommitEdit();
      break;
    case IDCANCEL:
      EndEditDialog({});
      break;
    case IDC_CHKFIXEDSTRING:
      ApplyItemKind();
      break;
    case IDC_BTNMENU:
      OpenParameterMenu();
      break;
    case IDC_BTNBROWS:
      OnBrowseClick();
      break;
    case IDC_BTNOPENSOURCE:
      ShowScript();
      break;
  }
}

// A right click shows the control's help; the text boxes keep their own edit
// menu and the list has no help of its own: its label leads to its topic.
BOOL OnContextMenu(HWND target, LPARAM point) {
  const int id = GetDlgCtrlID(target);
  if (target != frmEdit.dialog && (IsTextBox(id) || id == IDC_CMBWINDOUSTYLE)) return FALSE;
  return ShowFieldHelpAt(frmEdit.dialog, target, point) ? TRUE : FALSE;
}

void OnDestroy() {
  CloseFieldHelp();
  if (frmEdit.tooltip) DestroyWindow(frmEdit.tooltip);
  if (MessageOwner == frmEdit.dialog) MessageOwner = nullptr;
  frmEdit = EditForm{};  // destroys the parameter menu as well
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      // The first focus is set here, so the dialog manager must not set its own.
      FocusFieldControl(OnLoad(dialog));
      return FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) MessageOwner = dialog;
      return FALSE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_CONTEXTMENU:
      return OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
  }
  return FALSE;
}

}  // namespace

HWND Control(int id) { return GetDlgItem(frmEdit.dialog, id); }

HWND Control(EditControl control) { return Control(EditControlId(control)); }

// Read and written as UTF-16 and converted at the ANSI code page, so that the
// text is whole whatever the control keeps inside.
std::string FieldText(int id) { return WindowTextAnsi(Control(id)); }

void SetFieldText(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

bool Checked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(int id, bool checked) {
  SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::array<bool, 4> CheckedContexts() {
  return {Checked(IDC_CHKCONTEXTS0), Checked(IDC_CHKCONTEXTS1), Checked(IDC_CHKCONTEXTS2),
          Checked(IDC_CHKCONTEXTS3)};
}

EditResult OpenEditDialog(HWND owner, int selectedIndex) {
  requestedIndex = selectedIndex;
  committed = {};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EDIT), owner, EditDialogProc, 0);
  requestedIndex = -1;
  return std::exchange(committed, {});
}

void EndEditDialog(const EditResult& result) {
  // A Cancel that arrives while an ended dialog waits to go changes nothing.
  if (!frmEdit.dialog || frmEdit.ended) return;
  frmEdit.ended = true;
  committed = result;
  EndDialog(frmEdit.dialog, result.commit == EditCommit::None ? IDCANCEL : IDOK);
}

HWND EditDialogWindow() { return frmEdit.dialog; }
