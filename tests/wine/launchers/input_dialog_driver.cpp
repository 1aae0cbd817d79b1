#include "tests/wine/launchers/input_dialog_driver.h"

#include "tests/harness/win_test_util.h"

namespace {

struct Search {
  DWORD pid;
  std::wstring title;
  HWND skip;
  HWND found = nullptr;
};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Window text of another process's control: WM_GETTEXT is marshalled across
// processes; the wide form is read, as the ANSI one is unreliable there.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return ToAnsi(text);
}

HWND ChildOfClass(HWND dialog, const char* className) {
  return FindWindowExA(dialog, nullptr, className, nullptr);
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || window == search->skip || !IsWindowVisible(window)) return TRUE;
  if (ClassOf(window) != "#32770" || !ChildOfClass(window, "Edit")) return TRUE;
  wchar_t title[128] = {};
  GetWindowTextW(window, title, 128);
  if (search->title != title) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK VisitChild(HWND window, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<DialogControl>*>(param);
  controls->push_back({ClassOf(window), TextOf(window), GetDlgCtrlID(window)});
  return TRUE;
}

}  // namespace

HWND WaitForInputDialog(DWORD pid, const std::string& title, HWND skip, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  Search search{pid, ToWide(title), skip};
  while (GetTickCount() - start < timeoutMs) {
    if (skip && !IsWindow(skip)) search.skip = nullptr;
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      // Once the dialog's thread has handled a message, the dialog is set up
      // and in its own message loop.
      SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
      return search.found;
    }
    Sleep(20);
  }
  return nullptr;
}

std::vector<DialogControl> DialogControls(HWND dialog) {
  std::vector<DialogControl> controls;
  EnumChildWindows(dialog, VisitChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

void AnswerInputDialog(HWND dialog, const std::string& entry, bool ok) {
  const std::wstring wide = ToWide(entry);
  SendMessageW(ChildOfClass(dialog, "Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  SendMessageW(GetDlgItem(dialog, ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}
