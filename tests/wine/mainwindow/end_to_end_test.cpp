// The real Orbisk.exe, copied into the test's program folder and driven from
// outside by window messages: start-up over a catalogue, a second start, and
// closing with Esc, which saves the settings file.
#include <windows.h>

#include <commctrl.h>

#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "mainwindow/single_instance.h"
#include "tests/harness/build_output.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/harness/window_search.h"
#include "tests/wine/mainwindow/main_window_fixture.h"

namespace {

class RealProgram : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    exe_ = ProgramFolder() + "Orbisk.exe";
    ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_APP_EXE).c_str(), exe_.c_str(), FALSE)) << ORBISK_APP_EXE;
  }

  void TearDown() override {
    for (const UniqueHandle& process : processes_) {
      if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), 5000);
    }
    processes_.clear();
    WineTest::TearDown();
  }

  // The settings file of Orbisk.exe (named after the program) and the entries.
  void WriteCatalogue(const std::vector<std::string>& registered,
                      const std::vector<std::string>& unregistered) {
    Items.clear();
    for (const std::string& name : registered) {
      ASSERT_TRUE(RegisterMenuEntry(name, false, {true, false, false, false}));
      Items.push_back(LauncherItem(name));
    }
    for (const std::string& name : unregistered) Items.push_back(LauncherItem(name));
    ASSERT_TRUE(SaveItems());
    Items.clear();
    ASSERT_TRUE(MoveFileExA(SettingsFilePath().c_str(), OrbiskSettings().c_str(), MOVEFILE_REPLACE_EXISTING));
  }

  std::string OrbiskSettings() const { return UserFolder + "Orbisk.ini"; }

  HANDLE Start() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    UniqueProcessInformation process;
    std::string command = "\"" + exe_ + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder().c_str(),
                        &startup, process.put())) {
      return nullptr;
    }
    processes_.emplace_back(process.releaseProcess());
    return processes_.back().get();
  }

  // The main window of the process, waiting for it to appear: a window of
  // another process, which nothing announces to this one.
  static HWND MainWindowOf(HANDLE process, DWORD timeoutMs = 15000) {
    const DWORD id = GetProcessId(process);
    HWND found = nullptr;
    WaitUntilPumping([&] { return (found = FindProcessWindow(id, kMainWindowClass, "Orbisk")) != nullptr; },
                     timeoutMs);
    return found;
  }

  // Lines of the other process's list: its text arrives as UTF-16 only.
  static std::vector<std::string> ListLinesOf(HWND window) {
    HWND list = GetDlgItem(window, IDC_LSTITEMS);
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
      std::wstring line(length + 1, L'\0');
      line.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
      lines.push_back(ToAnsi(line));
    }
    return lines;
  }

  // Part 0 of the other process's status bar.
  static std::string ItemCountShown(HWND window) {
    char text[256] = {};
    SendMessageA(GetDlgItem(window, IDC_STATUSBAR), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }

  std::vector<std::string> FileNames(const std::string& path) const {
    std::vector<std::string> names;
    for (int n = 1;; ++n) {
      char value[512] = {};
      GetPrivateProfileStringA("ItemList", ("ItemName" + std::to_string(n)).c_str(), "", value, sizeof value,
                               path.c_str());
      if (!value[0]) break;
      names.push_back(value);
    }
    return names;
  }

  std::string exe_;
  std::vector<UniqueHandle> processes_;
};

TEST_F(RealProgram, StartsOverTheCatalogueAndSavesWhenClosedWithEsc) {
  WriteCatalogue({"Zulu", "alpha", "Mike"}, {"Dropped"});
  HANDLE process = Start();
  ASSERT_TRUE(process);
  HWND window = MainWindowOf(process);
  ASSERT_TRUE(window);
  EXPECT_EQ(ListLinesOf(window), (std::vector<std::string>{"alpha", "Mike", "Zulu"}));
  EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_LSTITEMS), LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ItemCountShown(window), "項目数：3");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_BTNALLDEL)));
  // Read once, not yet written.
  EXPECT_EQ(FileNames(OrbiskSettings()).size(), 4u);

  // Esc in the list, through the program's own message loop.
  HWND list = GetDlgItem(window, IDC_LSTITEMS);
  PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(list, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  ASSERT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FileNames(OrbiskSettings()), (std::vector<std::string>{"alpha", "Mike", "Zulu"}));
  EXPECT_TRUE(IsMenuEntryRegistered("Zulu"));
}

TEST_F(RealProgram, ASecondStartWarnsBringsTheFirstToTheFrontAndEnds) {
  WriteCatalogue({"One"}, {});
  HANDLE first = Start();
  ASSERT_TRUE(first);
  HWND window = MainWindowOf(first);
  ASSERT_TRUE(window);

  // Something else in front first.
  HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  PumpMessages(100);
  ASSERT_NE(GetForegroundWindow(), window);

  ExpectMessageBox(IDOK);
  HANDLE second = Start();
  ASSERT_TRUE(second);
  ASSERT_EQ(WaitForSingleObject(second, 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second, &code);
  EXPECT_EQ(code, 0u);
  ASSERT_EQ(SeenMessageBoxes().size(), 1u);
  const SeenMessageBox box = SeenMessageBoxes()[0];
  EXPECT_EQ(box.text, "Orbisk は既に起動されています。");
  EXPECT_EQ(box.title, "Orbisk");
  EXPECT_EQ(box.icon, BoxIcon::Warning);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDOK}));
  EXPECT_EQ(box.processId, GetProcessId(second));
  // In front soon after the second start ended, and it stays there.
  WaitUntilPumping([window] { return GetForegroundWindow() == window; }, 3000);
  PumpMessages(300);
  EXPECT_EQ(GetForegroundWindow(), window);
  // Only the first instance runs, with one main window.
  EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(FindWindowExA(nullptr, window, kMainWindowClass, "Orbisk"), nullptr);
  DestroyWindow(other);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(first, 15000), WAIT_OBJECT_0);
}

TEST(SingleInstance, TheMutexAdmitsOneHolderAtATime) {
  const std::string name = "Local\\Orbisk.Test.SingleInstance";
  UniqueHandle first, second, third;
  EXPECT_TRUE(ClaimSingleInstance(name, first));
  EXPECT_FALSE(ClaimSingleInstance(name, second));
  first.reset();
  second.reset();
  EXPECT_TRUE(ClaimSingleInstance(name, third));
  EXPECT_FALSE(ActivateRunningInstance("NoSuchOrbiskClass", "Orbisk"));
}

}  // namespace
