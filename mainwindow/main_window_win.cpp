#include "mainwindow/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/version_info.h"
#include "common/path_kind.h"
#include "common/wide_text.h"
#include "mainwindow/item_exchange.h"
#include "mainwindow/list_commands.h"
#include "mainwindow/list_pointer.h"
#include "mainwindow/list_rules.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "mainwindow/single_instance.h"
#include "mainwindow/version_resource.h"
#include "ui/field_help.h"
#include "ui/message_box.h"
#include "ui/product.h"
#include "ui/screen_geometry.h"
#include "ui/window_placement.h"

namespace {

constexpr UINT kStatusBarStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | CCS_BOTTOM;  // 0x50800003
constexpr UINT_PTR kListSubclassId = 1;

struct MainWindowState {
  HWND window = nullptr;
  HWND statusBar = nullptr;
  MainWindowOptions options;
  bool loadFailed = false;
  std::string pendingDrop;  // see SetPendingDrop
};

MainWindowState form;

// Puts every control where the layout in twips says, at the window's DPI,
// gives each its help topic, sizes the client area and centres the window in
// the work area. The exit button lands at -500, -500 twips, outside the
// window, where it only serves Esc.
void PlaceControlsAndWindow(HWND window) {
  const SIZE size = PlaceControls(window, kMainLayout, kMainClientWidthTwips, kMainClientHeightTwips);
  RECT made;
  GetWindowRect(window, &made);
  CentreWindow(window, WorkAreaAt(made), size);
}

void CreateStatusBar(HWND window) {
  form.statusBar = CreateStatusWindowA(kStatusBarStyle, "", window, IDC_STATUSBAR);
  // The part edges are pixels of a 96 DPI display: at a higher DPI the count
  // text grows with the font, and so must its part.
  const int dpi = WindowDpi(window);
  int rightEdges[3] = {PixelsAtDpi(70, dpi), PixelsAtDpi(90, dpi), -1};
  SendMessageA(form.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rightEdges));
}

void SetStatusText(int part, const std::string& text) {
  if (form.statusBar) SendMessageA(form.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnListMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) {
        OnDelClick();
        return 0;
      }
      break;
    case WM_DROPFILES:
      OnListDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, ListProc, kListSubclassId);
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// The load of the window, in its fixed order. Ends early, with loadFailed
// set, when the per-user folder cannot be made or the settings file is there
// but cannot be read.
void OnLoad(HWND window) {
  form.window = window;
  form.loadFailed = false;
  PlaceControlsAndWindow(window);
  HWND list = GetDlgItem(window, IDC_LSTITEMS);
  SetWindowSubclass(list, ListProc, kListSubclassId, 0);
  DragAcceptFiles(list, TRUE);
  CreateListTooltip(window, list);

  LoadVersionTexts();
  SetWindowTextA(window, kProductName);
  CreateStatusBar(window);
  ShowHint(kListNotice);

  UserFolder = form.options.userFolder.empty() ? GetUserFolder() : form.options.userFolder;
  if (GetPathKind(UserFolder) != PathKind::Folder && !EnsureFolder(UserFolder)) {
    MessageBoxA(nullptr, "MakeSureDirectoryPathExists Error", kProductName, kCriticalOk);
    form.loadFailed = true;
    return;
  }

  if (!LoadItems()) {
    // The list would show nothing, and the first save would write that
    // nothing over every item the file holds.
    MessageBoxA(nullptr, LoadFailedText(SettingsFilePath()).c_str(), kProductName, kCriticalOk);
    form.loadFailed = true;
    return;
  }
  RebuildItemList(ItemCount() > 0 ? 0 : -1);
  ShowItemCount();
  SetStatusText(2, VersionStatusText(VersionText, RightsNotice));
  UpdateButtons();
}

void OnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) MessageOwner = window;
}

void OnCommand(int id, int notification) {
  switch (id) {
    case IDC_BTNADD:
      OnAddClick();
      break;
    case IDC_BTNEDIT:
      OnEditClick();
      break;
    case IDC_BTNRENAME:
      OnRenameClick();
      break;
    case IDC_BTNDEL:
      OnDelClick();
      break;
    case IDC_BTNALLDEL:
      OnAllDelClick();
      break;
    case IDC_BTNEXIT:
      UnloadMainWindow();
      break;
    case IDC_LSTITEMS:
      if (notification == LBN_DBLCLK) OnEditClick();
      break;
    case IDOK:
      // Enter: the dialog manager reports it as the default button; in the
      // list it opens the selected item.
      if (GetFocus() == MainDlgItem(IDC_LSTITEMS)) OnEditClick();
      break;
  }
}

void OnClose() {
  // While a dialog or message box is open over the window, it stays: the
  // open command must finish first.
  if (!IsWindowEnabled(form.window)) return;
  UnloadMainWindow();
}

// The session ends without the window closing: keep the catalogue. No message
// can be answered any more, so a failure goes unreported here.
void OnEndSession(bool ending) {
  if (ending) SaveItems();
}

void OnDestroy(HWND window) {
  KillTimer(window, kTimer1);
  form.pendingDrop.clear();
  CloseFieldHelp();
  if (MessageOwner == window) MessageOwner = nullptr;
  form.window = nullptr;
  form.statusBar = nullptr;
  if (form.options.quitWhenClosed) PostQuitMessage(0);
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnLoad(window);
      return TRUE;
    case WM_ACTIVATE:
      OnActivate(window, wParam);
      return FALSE;
    case WM_MOUSEMOVE:
      ShowHint(kListNotice);
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kTimer1) OnTimer1();
      return TRUE;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == MainDlgItem(IDC_LSTITEMS)) {
        ShowListMenu(window, MainDlgItem(IDC_LSTITEMS), lParam);
        return TRUE;
      }
      return ShowFieldHelpAt(window, reinterpret_cast<HWND>(wParam), lParam);
    case WM_CTLCOLORSTATIC:
      // The read-only hint box in the button-face colour.
      if (reinterpret_cast<HWND>(lParam) == MainDlgItem(IDC_TXTCOMMENT)) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return TRUE;
    case WM_COPYDATA:
      SetWindowLongPtrA(window, DWLP_MSGRESULT,
                        OnImportHandedOver(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam)));
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return TRUE;
  }
  if (message == BringToFrontMessage()) {
    OnBringToFront(window, static_cast<DWORD>(wParam));
    return TRUE;
  }
  return FALSE;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, const MainWindowOptions& options) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (form.window || !RegisterMainWindowClass(instance)) return nullptr;
  form.options = options;
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
  if (!window) return nullptr;
  if (form.loadFailed) {
    // Nothing was loaded, so nothing is saved: the window just goes.
    const bool quit = form.options.quitWhenClosed;
    form.options.quitWhenClosed = false;
    DestroyWindow(window);
    form.options.quitWhenClosed = quit;
    return nullptr;
  }
  return window;
}

bool SaveCatalogue() {
  if (SaveItems()) return true;
  ShowMessage(SaveFailedText(SettingsFilePath()), kCriticalOk, kProductName);
  return false;
}

void UnloadMainWindow() {
  if (!form.window) return;
  if (form.statusBar) DestroyWindow(form.statusBar);
  form.statusBar = nullptr;
  SaveCatalogue();
  DestroyWindow(form.window);
}

namespace {

// The program's arguments, without its own name, in code page 932.
std::vector<std::string> StartArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const UniqueLocalMemory owner(reinterpret_cast<HLOCAL>(arguments));
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) result.push_back(ToAnsi(arguments[i], MissingChars::Question));
  return result;
}

}  // namespace

int RunOrbisk(HINSTANCE instance, int showCommand) {
  const StartAction action = ReadStartArguments(StartArguments());
  switch (action.kind) {
    case StartAction::Export:
      return RunExport(action.file);
    case StartAction::Import:
      return RunImport(action.file, action.quiet);
    case StartAction::Usage:
      return RunUsage(action.quiet);
    case StartAction::Window:
      break;
  }
  UniqueHandle instanceMutex;
  if (!ClaimSingleInstance(kInstanceMutexName, instanceMutex)) {
    MessageBoxA(nullptr, AlreadyRunningText(kProductName).c_str(), kProductName, kWarningOk);
    ActivateRunningInstance(kMainWindowClass, kProductName);
    return 0;
  }

  MainWindowOptions options;
  HWND window = CreateMainWindow(instance, options);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (form.window && IsDialogMessageA(form.window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

HWND MainWindow() { return form.window; }

void SetPendingDrop(const std::string& path) { form.pendingDrop = path; }

const std::string& PendingDrop() { return form.pendingDrop; }

std::string TakePendingDrop() { return std::exchange(form.pendingDrop, {}); }

HWND MainDlgItem(int id) { return form.window ? GetDlgItem(form.window, id) : nullptr; }

HWND StatusBar() { return form.statusBar; }

int SelectedItemIndex() {
  const LRESULT selected = SendMessageA(MainDlgItem(IDC_LSTITEMS), LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void RebuildItemList(int selectIndex) {
  HWND list = MainDlgItem(IDC_LSTITEMS);
  if (!list) return;
  // Hidden while it fills, so that a long list is not drawn line by line.
  ShowWindow(list, SW_HIDE);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const ItemRecord& item : Items) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.ItemName.c_str()));
  }
  SendMessageA(list, LB_SETCURSEL, selectIndex, 0);
  ShowWindow(list, SW_SHOW);
}

void ShowItemCount() { SetStatusText(0, ItemCountText(ItemCount())); }

void UpdateButtons() {
  const bool any = ItemCount() >= 1;
  const bool selected = any && SelectedItemIndex() >= 0;
  EnableWindow(MainDlgItem(IDC_BTNADD), TRUE);
  for (const int id : {IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL}) EnableWindow(MainDlgItem(id), selected);
  EnableWindow(MainDlgItem(IDC_BTNALLDEL), any);
  // A button that held the focus and is now disabled would leave the keyboard
  // nowhere, now or when the window is activated again after a message box:
  // the focus goes to the list.
  HWND focus = GetFocus();
  const bool lost = !focus || (GetParent(focus) == form.window && !IsWindowEnabled(focus));
  if (lost && IsWindowEnabled(form.window) && IsWindowVisible(form.window)) {
    SendMessageA(form.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(MainDlgItem(IDC_LSTITEMS)), TRUE);
  }
}

void ShowHint(const std::string& text) {
  HWND hint = MainDlgItem(IDC_TXTCOMMENT);
  if (!hint) return;
  // Only a changed text is set again, so that moving the pointer does not
  // make the box flicker.
  if (WindowTextThroughAnsi(hint) != text) SetWindowTextA(hint, text.c_str());
}
