// Drives a running Orbisk.exe from outside, for the test that runs Orbisk
// under another system locale (foreign_locale_test.sh). Wine fixes a
// process's code page from LANG when the process starts, and a program
// started by a Wine program keeps its starter's, so the script starts each
// Orbisk by its own wine invocation and this driver under Japanese.
//   locale_driver prepare <program folder\>   the catalogue Orbisk will load
//   locale_driver drive <report file>          what Orbisk shows, one edit,
//                                              one cancelled Add
// Everything Orbisk shows is read as UTF-16 and written to the report in
// UTF-8, so the report does not depend on the driver's own code page.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/wide_text.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog_resource.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/harness/window_search.h"

namespace {

// What the user types into the edit dialog: text outside ASCII, with a
// trail byte 0x5C (表) that a wrong code page would cut or garble.
constexpr wchar_t kTypedArgments[] = L"<TT> 日本語の引数・表示";
constexpr wchar_t kTypedComment[] = L"ダウンロードして表示します（一覧表）";

std::vector<ItemRecord> Catalogue() {
  // First in the list (ASCII sorts before kana and kanji): the item edited.
  ItemRecord jotwell;
  jotwell.ItemName = "Jotwell にページを追記";
  jotwell.AplPath = "C:\\ツール\\Jotwell.exe";
  jotwell.Argments = "<TT> <TU>";
  jotwell.Comment = "見ているページのタイトルを追記します。";
  jotwell.Contexts = {1, 0, 0, 0};
  ItemRecord date;
  date.ItemName = "今日の日付を入力";
  date.FixedString = 1;
  date.Argments = "<Y4>年<M1>月<D1>日";
  date.Comment = "入力欄に今日の日付。";
  return {jotwell, date};
}

int Prepare(const std::string& programFolder) {
  UserFolder = UserFolderFor(programFolder, GetLoginName());
  if (!EnsureFolder(UserFolder)) return 1;
  // The application the edited item names must exist for its OK to pass.
  if (!EnsureFolder("C:\\ツール\\") || !WriteFileBytes(Catalogue()[0].AplPath, "MZ")) return 1;
  Items = Catalogue();
  for (const ItemRecord& item : Items) {
    const std::array<bool, 4> contexts = {item.Contexts[0] != 0, item.Contexts[1] != 0, item.Contexts[2] != 0,
                                          item.Contexts[3] != 0};
    if (!RegisterMenuEntry(item.ItemName, item.FixedString != 0, contexts)) return 1;
  }
  if (!SaveItems()) return 1;
  // Saved under this program's name; Orbisk reads its own.
  return MoveFileExA(SettingsFilePath().c_str(), (UserFolder + "Orbisk.ini").c_str(),
                     MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                      nullptr);
  return text;
}

class Report {
 public:
  void Add(const std::string& what, const std::wstring& text) { lines_ += what + ": " + Utf8(text) + "\n"; }
  void Fail(const std::string& what) {
    lines_ += "FAILED: " + what + "\n";
    failed_ = true;
  }
  bool Failed() const { return failed_; }
  bool Write(const std::string& path) const { return WriteFileBytes(path, lines_); }

 private:
  std::string lines_;
  bool failed_ = false;
};

// Every child control of window with its id and text, in id order.
void AddControls(Report& report, const std::string& what, HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::sort(children.begin(), children.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  report.Add(what + " caption", TextOf(window));
  for (HWND child : children) report.Add(what + " " + std::to_string(GetDlgCtrlID(child)), TextOf(child));
}

void AddList(Report& report, HWND window) {
  HWND list = GetDlgItem(window, IDC_LSTITEMS);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring line(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    line.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
    report.Add("list " + std::to_string(i), line);
  }
  report.Add("status bar", TextOf(GetDlgItem(window, IDC_STATUSBAR)));
}

// Orbisk's windows are another process's, which announce themselves to
// nobody here: the waits for them look the desktop over until they come.

// A visible dialog window of the process that has a control of id, waiting
// for it up to 15 s; nullptr when none came.
HWND WaitForDialog(DWORD processId, int controlId, HWND except = nullptr) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindTopLevelWindow([&](HWND window) {
          return ProcessOf(window) == processId && window != except && IsVisibleDialog(window) &&
                 GetDlgItem(window, controlId);
        });
        return found != nullptr;
      },
      15000);
  return found;
}

bool WaitUntilGone(HWND window) {
  return WaitUntil([window] { return !IsWindow(window); }, 15000);
}

// Add opened and cancelled while no line is selected: the list still selects
// nothing, and only the buttons that need no selected item can be pressed.
// The selection is taken away from here, which Orbisk is not told of, so its
// buttons are all still on when Add opens: what the report shows is what the
// end of the Add command made of them.
void AddCancelledWithNothingSelected(Report& report, HWND main, DWORD processId) {
  HWND list = GetDlgItem(main, IDC_LSTITEMS);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_BTNADD, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_BTNADD)));
  HWND dialog = WaitForDialog(processId, IDC_TXTARGMENTS);
  if (!dialog) {
    report.Fail("no edit dialog for Add");
    return;
  }
  report.Add("add caption", TextOf(dialog));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (!WaitUntilGone(dialog)) report.Fail("the Add dialog stayed open");
  // The buttons are set after the dialog has gone, before the thread answers.
  WaitForWindowThread(main);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  report.Add("add cancelled selection", selected == LB_ERR ? L"none" : std::to_wstring(selected));
  for (const int id : {IDC_BTNADD, IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL, IDC_BTNALLDEL}) {
    HWND button = GetDlgItem(main, id);
    report.Add("add cancelled " + std::to_string(id),
               TextOf(button) + (IsWindowEnabled(button) ? L" on" : L" off"));
  }
}

int Drive(const std::string& reportPath) {
  Report report;
  HWND main = nullptr;
  WaitUntil(
      [&main] {
        main = FindWindowA(kMainWindowClass, nullptr);
        if (main && !IsWindowVisible(main)) main = nullptr;
        return main != nullptr;
      },
      30000);
  if (!main) {
    report.Fail("no main window");
    report.Write(reportPath);
    return 1;
  }
  // The list is filled while the window is made, before it shows; once its
  // thread answers, that is certainly done.
  WaitForWindowThread(main);
  const DWORD processId = ProcessOf(main);
  AddControls(report, "main", main);
  AddList(report, main);

  // Edit the first item: what the dialog shows, then typed Japanese and OK,
  // confirmed in the message box.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_BTNEDIT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_BTNEDIT)));
  HWND dialog = WaitForDialog(processId, IDC_TXTARGMENTS);
  if (!dialog) {
    report.Fail("no edit dialog");
  } else {
    AddControls(report, "edit", dialog);
    SendMessageW(GetDlgItem(dialog, IDC_TXTARGMENTS), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(kTypedArgments));
    SendMessageW(GetDlgItem(dialog, IDC_TXTEDITCOMMENT), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(kTypedComment));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND box = WaitForDialog(processId, 0xFFFF, dialog);
    if (!box) {
      report.Fail("no confirmation box");
    } else {
      report.Add("box caption", TextOf(box));
      report.Add("box text", TextOf(GetDlgItem(box, 0xFFFF)));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
    if (!WaitUntilGone(dialog)) report.Fail("the edit dialog stayed open");
  }
  // The list shows the edit once the main window's thread has finished the
  // Edit command, whose dialog has closed, and answers again.
  WaitForWindowThread(main);
  AddList(report, main);
  AddCancelledWithNothingSelected(report, main, processId);

  // Esc closes Orbisk, which saves the settings file.
  HWND list = GetDlgItem(main, IDC_LSTITEMS);
  PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(list, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  if (!WaitUntilGone(main)) report.Fail("Orbisk did not close");
  if (report.Failed()) {
    // Stuck behind a box or dialog: end it, so that the next run starts alone.
    const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process) TerminateProcess(process.get(), 1);
  }
  report.Write(reportPath);
  return report.Failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  if (command == "prepare") return Prepare(argv[2]);
  if (command == "drive") return Drive(argv[2]);
  std::fprintf(stderr, "usage: locale_driver prepare <program folder\\> | drive <report file>\n");
  return 2;
}
