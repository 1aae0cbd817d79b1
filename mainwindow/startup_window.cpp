#include "mainwindow/startup_window.h"

#include <commctrl.h>

#include "catalogue/item_record.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/path_kind.h"

namespace {

constexpr char kClassName[] = "OrbiskMain";

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      SaveItems();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunOrbisk(HINSTANCE instance, int showCommand) {
  InitCommonControls();
  UserFolder = GetUserFolder();
  if (GetPathKind(UserFolder) != PathKind::Folder && !EnsureFolder(UserFolder)) {
    MessageBoxA(nullptr, "MakeSureDirectoryPathExists Error", "Orbisk", MB_ICONSTOP | MB_OK);
    return 1;
  }
  LoadItems();

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = MainProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA(kClassName, "Orbisk", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 360,
                              320, nullptr, nullptr, instance, nullptr);
  HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 16, 16, 310, 240,
                            window, nullptr, instance, nullptr);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  for (const ItemRecord& item : Items) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.ItemName.c_str()));
  ShowWindow(window, showCommand);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
