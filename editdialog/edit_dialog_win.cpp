// frmEdit and its fields: the load by mode, the two layouts of a launcher and
// a fixed-string item, which part of a text box's text is selected when the
// focus comes in, the program browse and the script display. The OK workflow
// is edit_commit_win.cpp's, the parameter menu parameter_menu_win.cpp's.
#include "editdialog/edit_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <utility>

#include "catalogue/item_record.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "common/path_kind.h"
#include "common/start_program.h"
#include "common/text_util.h"
#include "common/wide_text.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_dialog_rules.h"
#include "editdialog/edit_form.h"
#include "ui/field_help.h"
#include "ui/message_box.h"
#include "ui/product.h"
#include "ui/window_placement.h"

static_assert(IDC_BTNOK == IDOK && IDC_BTNCANCEL == IDCANCEL);

EditForm frmEdit;
bool SuppressSelectAll = false;

namespace {

// What the dialog that closed last committed.
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

  CentreOverOwner(dialog, size);
}

void CreateTooltips() {
  frmEdit.tooltip.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, frmEdit.dialog, nullptr,
                                        GetModuleHandleA(nullptr), nullptr));
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
    SendMessageA(frmEdit.tooltip.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The two layouts of the dialog: a launcher item uses every field, a
// fixed-string item only its name, its text (in the parameter box) and its
// comment. Switching greys the unused controls and keeps their values.
void ApplyItemKind() {
  const bool fixedString = Checked(IDC_CHKFIXEDSTRING);
  for (const int id : {IDC_LBLAPLPATH, IDC_TXTAPLPATH, IDC_BTNBROWS, IDC_FRACONTEXTS, IDC_PICCONTEXTS,
                       IDC_LBLCONTEXTS, IDC_CHKCONTEXTS0, IDC_CHKCONTEXTS1, IDC_CHKCONTEXTS2,
                       IDC_CHKCONTEXTS3, IDC_LBLWINDOWSTYLE, IDC_CMBWINDOUSTYLE, IDC_CHKCONFCMDLINE}) {
    EnableWindow(Control(id), fixedString ? FALSE : TRUE);
  }
  SetFieldText(IDC_LBLARGMENTS, fixedString ? "定型文字列(&P)" : "パラメータ(&P)");
  for (const EditControl control :
       {EditControl::LblArgments, EditControl::TxtArgments, EditControl::BtnMenu}) {
    SetWindowContextHelpId(Control(control), EditHelpTopic(control, fixedString));
  }
  OfferParameterGroups(fixedString);
}

// Which part of a text box's text is selected when the focus comes in: the
// whole text when it comes by Tab, an access key or after a failed check, the
// caret where the user clicked when it comes with a click, and the caret left
// alone after a token was put in.

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

// Enter in the comment box makes a new line (the box wants the return key),
// so OK does not look like the default button meanwhile.
void ShowOkAsDefault(bool isDefault) {
  SendMessageA(Control(IDOK), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// btnBrows: the platform's Open File dialog for the application, starting in
// the folder of the path already typed.

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
static_assert(kOpenFlags == 0x81804);
constexpr DWORD kBufferSize = 256;

// The two entries, each text and pattern NUL-separated, ending in a double NUL.
std::string ProgramFilter() {
  std::string filter = "ｱﾌﾟﾘｹｰｼｮﾝ(*.exe)";
  filter += '\0';
  filter += "*.exe";
  filter += '\0';
  filter += "全てのﾌｧｲﾙ(*.*)";
  filter += '\0';
  filter += "*.*";
  filter += '\0';
  filter += '\0';
  return filter;
}

// The chosen full path, "" when the user cancels or the dialog fails (a path
// longer than the buffer included).
std::string BrowseForFile(HWND owner, const std::string& filter, const std::string& initialFolder) {
  std::string file(kBufferSize, '\0');
  std::string title(kBufferSize, '\0');
  OPENFILENAMEA open = {};
  open.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  open.hwndOwner = owner;
  open.hInstance = GetModuleHandleA(nullptr);
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = file.data();
  open.nMaxFile = kBufferSize;
  open.lpstrFileTitle = title.data();
  open.nMaxFileTitle = kBufferSize;
  open.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  open.Flags = kOpenFlags;
  if (!GetOpenFileNameA(&open)) return {};
  return file.substr(0, file.find('\0'));
}

void OnBrowseClick() {
  const std::string folder = InitialBrowseFolder(FieldText(IDC_TXTAPLPATH), GetPathKind);
  const std::string path = BrowseForFile(frmEdit.dialog, ProgramFilter(), folder);
  if (path.empty()) return;
  SetFieldText(IDC_TXTAPLPATH, path);
  if (DialogMode() == EditModes::Add && TrimBlanks(FieldText(IDC_TXTITEMNAME)).empty()) {
    SetFieldText(IDC_TXTITEMNAME, NameFromProgramPath(path));
  }
}

// btnOpenSource: the item's script file, as last written, in the editor the
// browser uses for page sources, or in Notepad.

constexpr char kEditorKey[] = "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name";
constexpr char kShowFailed[] = "スクリプトの表示に失敗しました。";

void ShowScript() {
  if (frmEdit.EditedIndex < 0 || frmEdit.EditedIndex >= ItemCount()) return;
  std::string editor = ReadRegistryValue(RegHive::LocalMachine, kEditorKey, "", kRegSz, RegistryValue{}).text;
  if (editor.empty()) {
    editor = "Notepad.exe";
  } else {
    // A value with text after the closing quote stays whole (and then names
    // no file); a lone double quote names nothing.
    const std::optional<std::string> unquoted = StripEnclosingQuotes(editor);
    if (!unquoted) {
      ShowMessage(kShowFailed, kWarningOk, kProductName);
      return;
    }
    editor = *unquoted;
    if (GetPathKind(editor) != PathKind::File) {
      ShowMessage("アプリケーションがみつかりません。\r\n\r\n" + editor, kWarningOk, kProductName);
      return;
    }
  }
  const std::string script = ScriptFilePath(Items[frmEdit.EditedIndex].ItemName);
  if (!StartProgram(EditorCommandLine(editor, script))) ShowMessage(kShowFailed, kWarningOk, kProductName);
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
HWND OnLoad(HWND dialog, const EditRequest& request) {
  frmEdit = EditForm{};
  frmEdit.dialog = dialog;
  PlaceControlsAndDialog();
  frmEdit.mnuArgs = BuildParameterMenu();
  HWND styles = Control(IDC_CMBWINDOUSTYLE);
  for (const char* style : kWindowStyles)
    SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style));
  SubclassTextBoxes();
  CreateTooltips();
  SetWindowTextA(dialog, Caption(DialogMode()));

  if (DialogMode() == EditModes::Add) {
    if (!request.droppedPath.empty()) SetFieldText(IDC_TXTAPLPATH, request.droppedPath);
    SendMessageA(styles, CB_SETCURSEL, 1, 0);
    ShowWindow(Control(IDC_BTNOPENSOURCE), SW_HIDE);
    ApplyItemKind();
    return Control(IDC_TXTITEMNAME);
  }

  const int selected = request.selectedIndex;
  frmEdit.EditedIndex = static_cast<int16_t>(selected);
  if (selected >= 0 && selected < ItemCount()) FillFromRecord(Items[selected]);

  if (DialogMode() == EditModes::Edit) {
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

void OnInitDialog(HWND dialog, const EditRequest& request) {
  // The first focus is set here, so the dialog manager must not set its own.
  FocusFieldControl(OnLoad(dialog, request));
}

void OnActivate(HWND dialog, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) MessageOwner = dialog;
}

void OnFocusArrived(int id, HWND control) {
  if (IsTextBox(id)) {
    if (id != IDC_TXTITEMNAME || DialogMode() != EditModes::Edit) SelectAllText(control);
    SuppressSelectAll = false;
  }
  if (id == IDC_TXTEDITCOMMENT) ShowOkAsDefault(false);
}

void OnFocusLeft(int id) {
  if (id == IDC_TXTEDITCOMMENT) ShowOkAsDefault(true);
}

void OnClick(int id) {
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

void OnCommand(int id, int notification, HWND control) {
  if (OnParameterMenuCommand(id)) return;
  switch (notification) {
    case EN_SETFOCUS:
    case BN_SETFOCUS:
    case CBN_SETFOCUS:
      OnFocusArrived(id, control);
      break;
    case EN_KILLFOCUS:
      OnFocusLeft(id);
      break;
    case BN_CLICKED:
      OnClick(id);
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
  if (MessageOwner == frmEdit.dialog) MessageOwner = nullptr;
  frmEdit = EditForm{};  // destroys the parameter menu and the tooltips as well
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      OnInitDialog(dialog, *reinterpret_cast<const EditRequest*>(lParam));
      return FALSE;
    case WM_ACTIVATE:
      OnActivate(dialog, wParam);
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

EditResult OpenEditDialog(HWND owner, const EditRequest& request) {
  committed = {};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EDIT), owner, EditDialogProc,
                  reinterpret_cast<LPARAM>(&request));
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

const EditRequest& Request() {
  return *reinterpret_cast<const EditRequest*>(GetWindowLongPtrA(frmEdit.dialog, DWLP_USER));
}

EditRequest EditDialogRequest() { return frmEdit.dialog ? Request() : EditRequest{}; }
