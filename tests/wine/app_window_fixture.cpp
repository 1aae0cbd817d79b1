#include "tests/wine/app_window_fixture.h"

#include <gtest/gtest.h>

#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "editdialog/edit_dialog.h"
#include "mainwindow/main_window.h"
#include "tests/harness/win_test_util.h"
#include "ui/field_help.h"
#include "ui/message_box.h"

void WriteTestCatalogue(const std::vector<ItemRecord>& registered,
                        const std::vector<ItemRecord>& unregistered) {
  for (const ItemRecord& item : registered) {
    std::array<bool, 4> contexts;
    for (int i = 0; i < 4; ++i) contexts[i] = item.Contexts[i] != 0;
    EXPECT_TRUE(RegisterMenuEntry(item.ItemName, item.FixedString == 1, contexts)) << item.ItemName;
    EXPECT_TRUE(WriteFileBytes(ScriptFilePath(item.ItemName), "<html>" + item.ItemName + "</html>\r\n"))
        << item.ItemName;
  }
  Items = registered;
  Items.insert(Items.end(), unregistered.begin(), unregistered.end());
  EXPECT_TRUE(SaveItems());
  Items.clear();
}

HWND CreateRelayWindow(const char* className, WNDPROC procedure, void* userData) {
  WNDCLASSA relayClass = {};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), className, &relayClass)) {
    relayClass.lpfnWndProc = procedure;
    relayClass.hInstance = GetModuleHandleA(nullptr);
    relayClass.lpszClassName = className;
    RegisterClassA(&relayClass);
  }
  HWND relay =
      CreateWindowA(className, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (relay) SetWindowLongPtrA(relay, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return relay;
}

void PressAccessKey(HWND window, char letter) {
  MSG msg = {};
  msg.hwnd = GetFocus();
  msg.message = WM_SYSCHAR;
  msg.wParam = static_cast<WPARAM>(letter);
  msg.lParam = 0x20000001;
  if (!IsDialogMessageA(window, &msg)) DispatchMessageA(&msg);
}

ScreenDpi GetScreenDpi() {
  HDC screen = GetDC(nullptr);
  ScreenDpi dpi;
  dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
  dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

HWND OpenTestMainWindow() {
  MainWindowOptions options;
  options.userFolder = UserFolder;
  options.quitWhenClosed = false;
  HWND window = CreateMainWindow(GetModuleHandleA(nullptr), options);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  PumpMessages(30);
  return window;
}

void AppWindowTest::SetUp() {
  WineTest::SetUp();
  SetCursorPos(1, 1);
  MessageOwner = nullptr;
}

void AppWindowTest::TearDown() {
  CloseFieldHelp();
  if (MainWindow()) DestroyWindow(MainWindow());
  PumpMessages(10);
  MessageOwner = nullptr;
  WineTest::TearDown();
}
