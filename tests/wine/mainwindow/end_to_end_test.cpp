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
#include "tests/wine/mainwindow/real_program.h"

namespace {

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
