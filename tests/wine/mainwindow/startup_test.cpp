// Start-up of the main window in the test process: what the list, the status
// bar and the buttons show for catalogues of several sizes, the layout, the
// keyboard, the version, and a per-user folder that cannot be made.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <random>

#include "catalogue/program_paths.h"
#include "catalogue/version_info.h"
#include "common/module_path.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "mainwindow/version_resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"
#include "ui/field_help.h"
#include "ui/message_box.h"
#include "ui/product.h"
#include "ui/screen_geometry.h"

namespace {

class StartUp : public MainWindowTest {};

std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) {
    char name[32];
    wsprintfA(name, "Item %02d", i);
    names.push_back(name);
  }
  return names;
}

TEST_F(StartUp, ListStatusBarAndButtonsForCataloguesOfEverySize) {
  const struct {
    std::vector<std::string> stored;  // order in the settings file
    std::vector<std::string> shown;   // order in the list
  } cases[] = {
      {{}, {}},
      {{"Only"}, {"Only"}},
      {{"charlie", "Alpha", "bravo"}, {"Alpha", "bravo", "charlie"}},
      {{}, Names(40)},
  };
  int run = 0;
  for (auto c : cases) {
    SCOPED_TRACE(c.shown.size());
    if (c.stored.empty() && !c.shown.empty()) {
      c.stored = c.shown;
      std::shuffle(c.stored.begin(), c.stored.end(), std::mt19937(7));
    }
    // Every case starts from its own folder and registry state.
    for (const std::string& name : MenuExtSubkeys()) {
      if (name.rfind("Item ", 0) == 0 || name == "Only" || name == "charlie" || name == "Alpha" ||
          name == "bravo") {
        DeleteMenuExtSubkey(name);
      }
    }
    UserFolder = UserFolderFor(ProgramFolder() + std::to_string(run++) + "\\", GetLoginName());
    ASSERT_TRUE(EnsureFolder(UserFolder));
    std::vector<ItemRecord> records;
    for (const std::string& name : c.stored) records.push_back(LauncherItem(name));
    WriteCatalogue(records);

    ASSERT_TRUE(Open());
    const int count = static_cast<int>(c.shown.size());
    EXPECT_EQ(ListLines(), c.shown);
    EXPECT_EQ(ItemCount(), count);
    EXPECT_EQ(Selection(), count > 0 ? 0 : -1);
    EXPECT_EQ(StatusText(0), ItemCountText(count));
    EXPECT_EQ(StatusText(1), "");
    EXPECT_EQ(StatusText(2), "v" + VersionText + "  " + RightsNotice);
    EXPECT_TRUE(Enabled(IDC_BTNADD));
    for (const int id : {IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL, IDC_BTNALLDEL}) {
      EXPECT_EQ(Enabled(id), count > 0) << id;
    }
    EXPECT_EQ(WindowTextOf(Window()), "Orbisk");
    EXPECT_EQ(WindowTextOf(Control(IDC_TXTCOMMENT)), kListNotice);
    DestroyWindow(Window());
  }
}

TEST_F(StartUp, UnregisteredItemsAreDroppedAndLeaveTheFileAtTheNextSave) {
  WriteCatalogue({LauncherItem("Kept 1"), LauncherItem("Kept 2")},
                 {LauncherItem("Gone 1"), LauncherItem("Gone 2")});
  ASSERT_EQ(SettingsNames().size(), 4u);
  ASSERT_TRUE(Open());
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Kept 1", "Kept 2"}));
  EXPECT_EQ(StatusText(0), "項目数：2");
  UnloadMainWindow();
  EXPECT_FALSE(IsWindow(Window()));
  EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"Kept 1", "Kept 2"}));
}

TEST_F(StartUp, VersionAndRightsNoticeComeFromTheVersionResource) {
  // The test program carries Orbisk's version resource, made from ui/product.h.
  ProgramVersion version;
  ASSERT_TRUE(ReadProgramVersion(GetProgramPath(), version));
  EXPECT_EQ(version.major, ORBISK_VERSION_MAJOR);
  EXPECT_EQ(version.minor, ORBISK_VERSION_MINOR);
  EXPECT_EQ(version.revision, ORBISK_VERSION_REVISION);
  EXPECT_EQ(version.rightsNotice, ORBISK_RIGHTS_NOTICE);
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  EXPECT_EQ(VersionText, ORBISK_VERSION_TEXT);
  EXPECT_EQ(StatusText(2), "v" ORBISK_VERSION_TEXT "  " ORBISK_RIGHTS_NOTICE);
  ProgramVersion none;
  EXPECT_FALSE(ReadProgramVersion(ProgramFolder() + "missing.exe", none));
}

TEST_F(StartUp, LayoutInPixelsAtTheSystemDpi) {
  WriteCatalogue({LauncherItem("One")});
  ASSERT_TRUE(Open());
  const ScreenDpi dpi = GetScreenDpi();
  const int dpiX = dpi.x, dpiY = dpi.y;

  RECT client;
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(4695, dpiX));
  EXPECT_EQ(client.bottom, TwipsToPixels(4470, dpiY));
  if (dpiX == 96 && dpiY == 96) {
    EXPECT_EQ(client.right, 313);
    EXPECT_EQ(client.bottom, 298);
  }
  const struct {
    int id;
    MainControl control;
  } controls[] = {{IDC_LABEL1, MainControl::Label1},       {IDC_LSTITEMS, MainControl::LstItems},
                  {IDC_BTNADD, MainControl::BtnAdd},       {IDC_BTNEDIT, MainControl::BtnEdit},
                  {IDC_BTNRENAME, MainControl::BtnRename}, {IDC_BTNDEL, MainControl::BtnDel},
                  {IDC_BTNALLDEL, MainControl::BtnAllDel}, {IDC_TXTCOMMENT, MainControl::TxtComment},
                  {IDC_BTNEXIT, MainControl::BtnExit}};
  for (const auto& c : controls) {
    RECT rect;
    GetWindowRect(Control(c.id), &rect);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    const TwipsRect twips = MainControlTwips(c.control);
    EXPECT_EQ(rect.left, TwipsToPixels(twips.left, dpiX)) << c.id;
    EXPECT_EQ(rect.top, TwipsToPixels(twips.top, dpiY)) << c.id;
    EXPECT_EQ(rect.right - rect.left, TwipsToPixels(twips.width, dpiX)) << c.id;
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(twips.height, dpiY)) << c.id;
  }
  // The exit button exists only for Esc: entirely outside the client area.
  RECT exit;
  GetWindowRect(Control(IDC_BTNEXIT), &exit);
  MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&exit), 2);
  EXPECT_LE(exit.right, 0);
  EXPECT_LE(exit.bottom, 0);

  // The status bar: id 101, its style, three parts ending at 70, 90 and the edge.
  HWND bar = GetDlgItem(Window(), IDC_STATUSBAR);
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar, StatusBar());
  // Created with 0x50800003; the control itself may drop WS_BORDER.
  const auto barStyle = static_cast<DWORD>(GetWindowLongPtrA(bar, GWL_STYLE));
  EXPECT_EQ(barStyle & 0x50000003u, 0x50000003u);
  EXPECT_EQ(GetDlgCtrlID(bar), 101);
  int edges[4] = {};
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 70);
  EXPECT_EQ(edges[1], 90);
  EXPECT_EQ(edges[2], -1);

  // The hint box: multi-line, read-only, not a tab stop.
  const LONG_PTR hintStyle = GetWindowLongPtrA(Control(IDC_TXTCOMMENT), GWL_STYLE);
  EXPECT_TRUE(hintStyle & ES_MULTILINE);
  EXPECT_TRUE(hintStyle & ES_READONLY);
  EXPECT_FALSE(hintStyle & WS_TABSTOP);
  // The list: single selection, unsorted, accepts dropped files.
  const LONG_PTR listStyle = GetWindowLongPtrA(Control(IDC_LSTITEMS), GWL_STYLE);
  EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_TRUE(GetWindowLongPtrA(Control(IDC_LSTITEMS), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(StartUp, CaptionsTabOrderAndAccessKeys) {
  WriteCatalogue({LauncherItem("One"), LauncherItem("Two")});
  ASSERT_TRUE(Open());
  const struct {
    int id;
    const char* caption;
  } captions[] = {{IDC_LABEL1, "登録済み項目一覧(&L)"},
                  {IDC_BTNADD, "追加(&A)..."},
                  {IDC_BTNEDIT, "編集(&E)..."},
                  {IDC_BTNRENAME, "名称変更(&R)..."},
                  {IDC_BTNDEL, "削除(&D)"},
                  {IDC_BTNALLDEL, "全削除(&C)"},
                  {IDC_BTNEXIT, "終了"}};
  for (const auto& c : captions) EXPECT_EQ(WindowTextOf(Control(c.id)), c.caption) << c.id;

  // Tab goes list, Add, Edit, Rename, Delete, Delete all, (the hidden exit
  // button), and round again; the hint box is skipped.
  std::vector<int> order;
  HWND at = Control(IDC_LSTITEMS);
  for (int i = 0; i < 8; ++i) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(Window(), at, FALSE);
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_LSTITEMS, IDC_BTNADD, IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL,
                                     IDC_BTNALLDEL, IDC_BTNEXIT, IDC_LSTITEMS}));

  // Alt+L moves from a button to the list.
  SetFocus(Control(IDC_BTNALLDEL));
  PressAltKey('l');
  EXPECT_EQ(GetFocus(), Control(IDC_LSTITEMS));
}

TEST_F(StartUp, EscClosesTheWindowAndSavesTheSettingsFile) {
  WriteCatalogue({LauncherItem("Stays")}, {LauncherItem("Unregistered")});
  ASSERT_TRUE(Open());
  SetFocus(Control(IDC_LSTITEMS));
  PressKey(Control(IDC_LSTITEMS), VK_ESCAPE);
  EXPECT_FALSE(IsWindow(Window()));
  EXPECT_EQ(MainWindow(), nullptr);
  EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"Stays"}));
}

TEST_F(StartUp, ClosingAndEndingTheSessionSaveTheSettingsFile) {
  for (const UINT message : {WM_CLOSE, WM_ENDSESSION}) {
    SCOPED_TRACE(message);
    WriteCatalogue({LauncherItem("Stays")}, {LauncherItem("Unregistered")});
    ASSERT_EQ(SettingsNames().size(), 2u);
    ASSERT_TRUE(Open());
    SendMessageA(Window(), message, message == WM_ENDSESSION ? TRUE : 0, 0);
    EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"Stays"}));
    DestroyWindow(MainWindow());
  }
}

TEST_F(StartUp, CloseWaitsWhileADialogIsOpenOverTheWindow) {
  WriteCatalogue({LauncherItem("Stays")});
  ASSERT_TRUE(Open());
  bool stillThere = false;
  EditDialogWatcher watcher(Window(), [&](HWND dialog) {
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    stillThere = IsWindow(Window()) != FALSE;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  SendMessageA(Control(IDC_BTNADD), BM_CLICK, 0, 0);
  EXPECT_TRUE(stillThere);
  EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(StartUp, UserFolderThatCannotBeMadeEndsTheStart) {
  // A file where the per-user folder should be.
  std::string folder = UserFolder;
  folder.pop_back();
  ASSERT_TRUE(DeleteTree(UserFolder));
  ASSERT_TRUE(WriteFileBytes(folder, "not a folder"));
  ExpectMessageBox(IDOK);
  EXPECT_EQ(Open(), nullptr);
  EXPECT_EQ(MainWindow(), nullptr);
  ASSERT_TRUE(WaitForMessageBoxes(1));
  const SeenMessageBox box = SeenMessageBoxes()[0];
  EXPECT_EQ(box.text, "MakeSureDirectoryPathExists Error");
  EXPECT_EQ(box.title, "Orbisk");
  EXPECT_EQ(box.icon, BoxIcon::Stop);
  EXPECT_EQ(ReadFileBytes(folder), "not a folder");
}

TEST_F(StartUp, ActivationMakesTheWindowTheMessageOwner) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  EXPECT_EQ(MessageOwner, Window());
  HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  MessageOwner = nullptr;
  SetForegroundWindow(Window());
  PumpMessages(20);
  EXPECT_EQ(MessageOwner, Window());
  DestroyWindow(other);
  DestroyWindow(Window());
  EXPECT_EQ(MessageOwner, nullptr);
}

}  // namespace
