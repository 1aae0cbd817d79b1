#include "tests/wine/launchers/input_dialog_driver.h"

#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/harness/window_search.h"

namespace {

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

BOOL CALLBACK VisitChild(HWND window, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<DialogControl>*>(param);
  controls->push_back({ClassOf(window), TextOf(window), GetDlgCtrlID(window)});
  return TRUE;
}

}  // namespace

HWND WaitForInputDialog(DWORD pid, const std::string& title, HWND skip, DWORD timeoutMs) {
  const std::wstring wideTitle = ToWide(title);
  const auto isTheDialog = [&](HWND window) {
    if (ProcessOf(window) != pid || window == skip || !IsVisibleDialog(window) ||
        !ChildOfClass(window, "Edit"))
      return false;
    wchar_t shown[128] = {};
    GetWindowTextW(window, shown, 128);
    return wideTitle == shown;
  };
  // The dialog is Pagewatch's, which announces it to nobody here: the
  // desktop is looked over until it comes.
  HWND found = nullptr;
  WaitUntil(
      [&] {
        if (skip && !IsWindow(skip)) skip = nullptr;
        found = FindTopLevelWindow(isTheDialog);
        return found != nullptr;
      },
      timeoutMs);
  // Once the dialog's thread has handled a message, the dialog is set up
  // and in its own message loop.
  if (found) WaitForWindowThread(found);
  return found;
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
