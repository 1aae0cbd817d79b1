#include "tests/wine/mainwindow/main_window_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <set>

#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/app_window_fixture.h"
#include "ui/field_help.h"
#include "ui/message_box.h"

ItemRecord LauncherItem(const std::string& name, const std::string& comment) {
  ItemRecord item = LauncherRecord(name, "C:\\Tools\\viewer.exe", "<TU>");
  item.Comment = comment;
  return item;
}

namespace {

constexpr UINT kDialogFound = WM_APP + 1;
constexpr char kRelayClass[] = "MainWindowTestRelay";

// The watcher of the test's thread; a test has at most one at a time.
EditDialogWatcher* activeWatcher = nullptr;

bool IsEditDialogOf(HWND window, HWND owner) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  return strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == owner &&
         GetDlgItem(window, 0xFFFF) == nullptr;  // not a message box: the harness answers those
}

}  // namespace

EditDialogWatcher::EditDialogWatcher(HWND mainWindow, Action action)
    : mainWindow_(mainWindow), action_(std::move(action)) {
  relay_ = CreateRelayWindow(kRelayClass, RelayProc, this);
  activeWatcher = this;
  hook_.reset(SetWindowsHookExA(WH_CALLWNDPROC, ShowHook, nullptr, GetCurrentThreadId()));
}

EditDialogWatcher::~EditDialogWatcher() {
  hook_.reset();
  activeWatcher = nullptr;
  DestroyWindow(relay_);
}

bool EditDialogWatcher::WaitForOpened(size_t count, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (opened_.size() < count && GetTickCount() - start < timeoutMs) PumpMessages(5);
  return opened_.size() >= count;
}

LRESULT CALLBACK EditDialogWatcher::ShowHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && activeWatcher && call->message == WM_SHOWWINDOW && call->wParam) {
    activeWatcher->Shown(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The dialog is being shown: its modal loop takes the relay's message next,
// once the showing is done.
void EditDialogWatcher::Shown(HWND window) {
  if (!IsEditDialogOf(window, mainWindow_) || !noticed_.insert(window).second) return;
  PostMessageA(relay_, kDialogFound, reinterpret_cast<WPARAM>(window), 0);
}

LRESULT CALLBACK EditDialogWatcher::RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDialogFound) {
    auto* self = reinterpret_cast<EditDialogWatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const auto dialog = reinterpret_cast<HWND>(wParam);
    if (self && IsWindow(dialog)) {
      if (self->action_) {
        self->action_(dialog);
      } else {
        self->RecordAndCancel(dialog);
      }
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void EditDialogWatcher::RecordAndCancel(HWND dialog) {
  const EditRequest request = EditDialogRequest();
  opened_.push_back({WindowTextAnsi(dialog), request.mode, request.droppedPath, GetTickCount()});
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void MainWindowTest::WriteCatalogue(const std::vector<ItemRecord>& registered,
                                    const std::vector<ItemRecord>& unregistered) {
  WriteTestCatalogue(registered, unregistered);
}

HWND MainWindowTest::Open() {
  window_ = OpenTestMainWindow();
  return window_;
}

HWND MainWindowTest::Control(int id) const { return GetDlgItem(window_, id); }

std::vector<std::string> MainWindowTest::ListLines() const {
  std::vector<std::string> lines;
  HWND list = Control(IDC_LSTITEMS);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const int length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0));
    std::string line(length + 1, '\0');
    line.resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
    lines.push_back(line);
  }
  return lines;
}

int MainWindowTest::Selection() const {
  return static_cast<int>(SendMessageA(Control(IDC_LSTITEMS), LB_GETCURSEL, 0, 0));
}

std::string MainWindowTest::StatusText(int part) const {
  // Read as UTF-16: Wine's SB_GETTEXTA cuts double-byte text short.
  HWND bar = GetDlgItem(window_, IDC_STATUSBAR);
  const int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()))));
  return ToAnsi(text);
}

std::string MainWindowTest::WindowTextOf(HWND window) const {
  const int length = GetWindowTextLengthA(window);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(window, text.data(), length + 1));
  return text;
}

bool MainWindowTest::Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

void MainWindowTest::PressKey(HWND target, UINT virtualKey) {
  for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG msg = {};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = virtualKey;
    msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001u);
    if (!MainWindow() || !IsDialogMessageA(MainWindow(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void MainWindowTest::PressAltKey(char letter) { PressAccessKey(window_, letter); }

std::string MainWindowTest::SettingsText() const { return ReadFileBytes(SettingsFilePath()); }

std::vector<std::string> MainWindowTest::SettingsNames() const {
  std::vector<std::string> names;
  const std::string text = SettingsText();
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t equals = line.find('=');
    if (line.rfind("ItemName", 0) == 0 && equals != std::string::npos)
      names.push_back(line.substr(equals + 1));
    start = end + 2;
  }
  return names;
}

bool MainWindowTest::ScriptExists(const std::string& name) const { return FileExists(ScriptFilePath(name)); }

bool MainWindowTest::KeyExists(const std::string& name) const { return IsMenuEntryRegistered(name); }

HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list += path + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}
