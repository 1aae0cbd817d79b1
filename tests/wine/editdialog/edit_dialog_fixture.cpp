#include "tests/wine/editdialog/edit_dialog_fixture.h"

#include <commctrl.h>
#include <sddl.h>

#include "catalogue/menu_registration.h"
#include "catalogue/placeholders.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog.h"
#include "editdialog/edit_dialog_resource.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/app_window_fixture.h"
#include "ui/field_help.h"
#include "ui/message_box.h"

ItemRecord Launcher(const std::string& name, const std::string& path) {
  ItemRecord item = LauncherRecord(name, path, "<TU>");
  item.Comment = "comment";
  return item;
}

ItemRecord FixedStringItem(const std::string& name, const std::string& text) {
  ItemRecord item = FixedStringRecord(name, text);
  item.WindowStyle = 1;
  return item;
}

namespace {

constexpr char kRelayClass[] = "EditDialogTestRelay";

struct PendingSteps {
  const std::function<void(HWND)>* steps;
  bool ran = false;
  int waits = 0;
};

// Runs the steps on the first timer tick after the dialog became visible:
// its modal loop shows it once it first runs out of messages.
LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* pending = reinterpret_cast<PendingSteps*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    HWND dialog = EditDialogWindow();
    if (!pending || pending->ran) return 0;
    if (dialog && !(GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE) && ++pending->waits < 300) return 0;
    KillTimer(window, 1);
    pending->ran = true;
    PumpMessages(20);
    (*pending->steps)(dialog);
    if (EditDialogWindow()) SendMessageA(EditDialogWindow(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void EditDialogTest::WriteCatalogue(const std::vector<ItemRecord>& items) { WriteTestCatalogue(items); }

HWND EditDialogTest::OpenMain() {
  main_ = OpenTestMainWindow();
  return main_;
}

void EditDialogTest::RunDialog(int buttonId, int line, const std::function<void(HWND)>& steps) {
  if (line >= 0) SendMessageA(GetDlgItem(main_, IDC_LSTITEMS), LB_SETCURSEL, line, 0);
  PendingSteps pending{&steps};
  const std::function<void(HWND)> wrapped = [&](HWND dialog) {
    dialog_ = dialog;
    ASSERT_NE(dialog, nullptr) << "the edit dialog did not open";
    steps(dialog);
  };
  pending.steps = &wrapped;
  if (buttonId == kTimerAdd) {
    PostMessageA(main_, WM_TIMER, kTimer1, 0);
  } else {
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main_, buttonId)));
  }
  HWND relay = CreateRelayWindow(kRelayClass, RelayProc, &pending);
  SetTimer(relay, 1, 10, nullptr);
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(main_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    if (pending.ran && !EditDialogWindow()) break;
    const DWORD spent = GetTickCount() - start;
    if (spent > 60000) {
      ADD_FAILURE() << "the dialog steps did not end";
      break;
    }
    // The steps run from a timer of this thread: the next message is what
    // moves them on.
    MsgWaitForMultipleObjectsEx(0, nullptr, 60000 - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  PumpMessages(10);
  DestroyWindow(relay);
}

HWND EditDialogTest::Ctl(int id) const { return GetDlgItem(dialog_, id); }

std::string EditDialogTest::Text(int id) const { return WindowTextAnsi(Ctl(id)); }

void EditDialogTest::SetText(int id, const std::string& text) const { SetWindowTextA(Ctl(id), text.c_str()); }

void EditDialogTest::Click(int id) const { SendMessageA(Ctl(id), BM_CLICK, 0, 0); }

bool EditDialogTest::IsChecked(int id) const {
  return SendMessageA(Ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::pair<int, int> EditDialogTest::Selection(int id) const {
  DWORD start = 0, end = 0;
  SendMessageW(Ctl(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

int EditDialogTest::FocusId() const {
  HWND focus = GetFocus();
  return focus && GetParent(focus) == dialog_ ? GetDlgCtrlID(focus) : 0;
}

void EditDialogTest::PressKey(HWND target, UINT virtualKey, char typed) const {
  MSG msg = {};
  msg.hwnd = target;
  msg.message = WM_KEYDOWN;
  msg.wParam = virtualKey;
  msg.lParam = 1;
  if (!IsDialogMessageA(dialog_, &msg)) DispatchMessageA(&msg);
  if (typed && IsWindow(target)) {
    msg.message = WM_CHAR;
    msg.wParam = static_cast<unsigned char>(typed);
    if (!IsWindow(dialog_) || !IsDialogMessageA(dialog_, &msg)) DispatchMessageA(&msg);
  }
  if (IsWindow(target)) {
    msg.message = WM_KEYUP;
    msg.wParam = virtualKey;
    msg.lParam = static_cast<LPARAM>(0xC0000001u);
    if (!IsWindow(dialog_) || !IsDialogMessageA(dialog_, &msg)) DispatchMessageA(&msg);
  }
}

void EditDialogTest::PressAccessKey(char letter) const { ::PressAccessKey(dialog_, letter); }

void EditDialogTest::ClickAt(int id, int x, int y) const {
  SendMessageA(Ctl(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(Ctl(id), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void EditDialogTest::PickToken(const std::string& token) const {
  const Placeholder* placeholder = FindPlaceholder(token);
  ASSERT_NE(placeholder, nullptr) << token;
  // The user left for the ">" button, whose menu sends the entry's command.
  SetFocus(Ctl(IDC_BTNMENU));
  const int index = static_cast<int>(placeholder - kPlaceholders.data());
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDM_TOKEN_BASE + index, 0), 0);
}

bool EditDialogTest::DialogOpen() const {
  // EndDialog hides the dialog at once; it goes when its modal loop ends.
  return EditDialogWindow() != nullptr && IsWindowVisible(EditDialogWindow());
}

std::vector<std::string> EditDialogTest::ListLines() const {
  std::vector<std::string> lines;
  HWND list = GetDlgItem(main_, IDC_LSTITEMS);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string line(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1, '\0');
    line.resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
    lines.push_back(line);
  }
  return lines;
}

int EditDialogTest::ListSelection() const {
  return static_cast<int>(SendMessageA(GetDlgItem(main_, IDC_LSTITEMS), LB_GETCURSEL, 0, 0));
}

std::string EditDialogTest::Status(int part) const {
  HWND bar = GetDlgItem(main_, IDC_STATUSBAR);
  const int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()))));
  return ToAnsi(text);
}

bool EditDialogTest::ScriptExists(const std::string& name) const { return FileExists(ScriptFilePath(name)); }

bool EditDialogTest::KeyExists(const std::string& name) const {
  UniqueRegKey key;
  return RegOpenKeyExA(HKEY_CURRENT_USER, MenuEntryKey(name).c_str(), 0, KEY_READ, key.put()) ==
         ERROR_SUCCESS;
}

DWORD EditDialogTest::KeyNumber(const std::string& name, const char* value) const {
  DWORD number = 0xFFFFFFFF, size = sizeof number;
  if (RegGetValueA(HKEY_CURRENT_USER, MenuEntryKey(name).c_str(), value, RRF_RT_REG_DWORD, nullptr, &number,
                   &size) != ERROR_SUCCESS) {
    return 0xFFFFFFFF;
  }
  return number;
}

std::string EditDialogTest::KeyDefault(const std::string& name) const {
  char text[512] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, MenuEntryKey(name).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return text;
}

std::string EditDialogTest::ScriptNameOnDisk(const std::string& name) const {
  WIN32_FIND_DATAA found = {};
  const UniqueFind search(FindFirstFileA(ScriptFilePath(name).c_str(), &found));
  if (!search) return "<missing>";
  return found.cFileName;
}

std::string EditDialogTest::KeyNameInRegistry(const std::string& name) const {
  for (const std::string& subkey : MenuExtSubkeys()) {
    if (SameStorageName(subkey, name)) return subkey;
  }
  return "<missing>";
}

bool DenyValueWrites(const std::string& itemName) {
  // Everyone: setting values denied; everything else allowed.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return false;
  }
  const UniqueLocalMemory descriptorMemory(descriptor);
  UniqueRegKey key;
  bool ok = RegCreateKeyExA(HKEY_CURRENT_USER, MenuEntryKey(itemName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, key.put(), nullptr) == ERROR_SUCCESS;
  ok = ok && RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
  return ok;
}
