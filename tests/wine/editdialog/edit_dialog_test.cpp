// The edit dialog in its three modes: what it shows, every check's message
// and focus, the confirmation, and each commit on the real registry, script
// files, list and settings file.
#include <windows.h>

#include "catalogue/fixed_string_script.h"
#include "catalogue/launcher_script.h"
#include "catalogue/program_paths.h"
#include "common/window_geometry.h"
#include "editdialog/edit_dialog.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_dialog_rules.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/editdialog/edit_dialog_fixture.h"
#include "ui/screen_geometry.h"

namespace {

class EditDialog : public EditDialogTest {
 protected:
  void SetUp() override {
    EditDialogTest::SetUp();
    app_ = ProgramFolder() + "viewer.exe";
    ASSERT_TRUE(WriteFileBytes(app_, "MZ"));
  }
  std::string app_;
};

void ExpectBox(const SeenMessageBox& box, const std::string& text, BoxIcon icon) {
  EXPECT_EQ(Utf8(box.text), Utf8(text));
  EXPECT_EQ(box.title, "Orbisk");
  EXPECT_EQ(box.icon, icon);
}

TEST_F(EditDialog, AddModeStartsEmptyWithTheDroppedPath) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  // As a drop leaves it for Timer1, which opens Add.
  SetPendingDrop(app_);
  RunDialog(kTimerAdd, -1, [&](HWND dialog) {
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "追加");
    EXPECT_FALSE(IsWindowVisible(Ctl(IDC_BTNOPENSOURCE)));
    EXPECT_EQ(Text(IDC_TXTAPLPATH), app_);
    EXPECT_EQ(Text(IDC_TXTITEMNAME), "");
    EXPECT_EQ(Text(IDC_CMBWINDOUSTYLE), "通常のウィンドウ");
    EXPECT_EQ(FocusId(), IDC_TXTITEMNAME);
    for (int id = IDC_CHKCONTEXTS0; id <= IDC_CHKCONTEXTS3; ++id) EXPECT_FALSE(IsChecked(id));
    EXPECT_FALSE(IsChecked(IDC_CHKFIXEDSTRING));
    EXPECT_EQ(Text(IDC_LBLARGMENTS), "パラメータ(&P)");
    // The client area is 5700 x 5340 twips, in pixels at the screen's DPI:
    // 380 x 356 at 96 DPI.
    RECT client;
    GetClientRect(dialog, &client);
    const ScreenDpi dpi = GetScreenDpi();
    EXPECT_EQ(client.right, TwipsToPixels(kEditClientWidthTwips, dpi.x));
    EXPECT_EQ(client.bottom, TwipsToPixels(kEditClientHeightTwips, dpi.y));
    if (dpi.x == 96 && dpi.y == 96) {
      EXPECT_EQ(client.right, 380);
      EXPECT_EQ(client.bottom, 356);
    }
    EXPECT_EQ(GetMenu(dialog), nullptr);
  });
  EXPECT_TRUE(Items.empty());
}

// The main window centred in the work area, the dialog centred over it: both
// by the one rule (common/window_geometry.h), with the main window as the
// dialog's owner and its monitor's work area as the bounds, wherever the main
// window was moved to.
TEST_F(EditDialog, CentredOverTheMainWindowInsideTheWorkArea) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const ScreenRect workArea{work.left, work.top, work.right, work.bottom};
  RECT main;
  GetWindowRect(main_, &main);
  const int mainW = main.right - main.left, mainH = main.bottom - main.top;
  EXPECT_EQ(CentredWindowPosition(workArea, mainW, mainH, workArea), (ScreenPoint{main.left, main.top}));

  const struct {
    const char* what;
    POINT mainAt;
  } cases[] = {
      {"main window in the middle", {main.left, main.top}},
      {"main window off the top-left corner", {work.left - mainW / 2, work.top - mainH / 2}},
      {"main window off the right edge", {work.right - mainW / 2, main.top}},
      {"main window off the bottom edge", {main.left, work.bottom - mainH / 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetWindowPos(main_, nullptr, c.mainAt.x, c.mainAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(main_, &main);
    RECT placed = {};
    RunDialog(IDC_BTNADD, -1, [&](HWND dialog) { GetWindowRect(dialog, &placed); });
    const int w = placed.right - placed.left, h = placed.bottom - placed.top;
    EXPECT_EQ(CentredWindowPosition({main.left, main.top, main.right, main.bottom}, w, h, workArea),
              (ScreenPoint{placed.left, placed.top}));
    EXPECT_GE(placed.left, work.left);
    EXPECT_GE(placed.top, work.top);
    EXPECT_LE(placed.right, work.right);
    EXPECT_LE(placed.bottom, work.bottom);
  }
}

TEST_F(EditDialog, EditModeFillsTheRecordAndLocksTheName) {
  ItemRecord item = Launcher("Viewer", app_);
  item.Contexts = {0, 1, 0, 1};
  item.WindowStyle = 3;
  item.ConfCmdLine = 1;
  item.Argments = "<TU> x";
  WriteCatalogue({Launcher("Alpha", app_), item, FixedStringItem("Zeta", "<Y4>")});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNEDIT, 1, [&](HWND dialog) {
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "編集");
    EXPECT_TRUE(IsWindowVisible(Ctl(IDC_BTNOPENSOURCE)));
    EXPECT_EQ(Text(IDC_TXTITEMNAME), "Viewer");
    EXPECT_TRUE(GetWindowLongA(Ctl(IDC_TXTITEMNAME), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(GetWindowLongA(Ctl(IDC_TXTITEMNAME), GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(Text(IDC_TXTAPLPATH), app_);
    EXPECT_EQ(Text(IDC_TXTARGMENTS), "<TU> x");
    EXPECT_EQ(Text(IDC_TXTEDITCOMMENT), "comment");
    EXPECT_EQ((std::vector<bool>{IsChecked(IDC_CHKCONTEXTS0), IsChecked(IDC_CHKCONTEXTS1),
                                 IsChecked(IDC_CHKCONTEXTS2), IsChecked(IDC_CHKCONTEXTS3)}),
              (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(Text(IDC_CMBWINDOUSTYLE), "最大化表示");
    EXPECT_TRUE(IsChecked(IDC_CHKCONFCMDLINE));
    EXPECT_EQ(FocusId(), IDC_TXTAPLPATH);
    // Entered at load like by Tab: the whole path is selected.
    EXPECT_EQ(Selection(IDC_TXTAPLPATH), std::make_pair(0, static_cast<int>(app_.size())));
  });
  RunDialog(IDC_BTNEDIT, 2, [&](HWND) {
    EXPECT_TRUE(IsChecked(IDC_CHKFIXEDSTRING));
    EXPECT_EQ(Text(IDC_LBLARGMENTS), "定型文字列(&P)");
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_TXTAPLPATH)));
    EXPECT_EQ(FocusId(), IDC_TXTARGMENTS);
  });
}

TEST_F(EditDialog, RenameModeLeavesOnlyTheNameEditable) {
  WriteCatalogue({FixedStringItem("Stamp", "<Y4>")});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNRENAME, 0, [&](HWND dialog) {
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "名称変更");
    EXPECT_EQ(FocusId(), IDC_TXTITEMNAME);
    EXPECT_EQ(Selection(IDC_TXTITEMNAME), std::make_pair(0, 5));
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_TXTITEMNAME)));
    EXPECT_TRUE(IsWindowVisible(Ctl(IDC_BTNOPENSOURCE)));
    for (int id :
         {IDC_CHKFIXEDSTRING, IDC_TXTAPLPATH, IDC_BTNBROWS, IDC_BTNMENU, IDC_TXTARGMENTS, IDC_TXTEDITCOMMENT,
          IDC_CHKCONTEXTS0, IDC_CHKCONTEXTS3, IDC_CMBWINDOUSTYLE, IDC_CHKCONFCMDLINE}) {
      EXPECT_FALSE(IsWindowEnabled(Ctl(id))) << id;
    }
    EXPECT_EQ(Text(IDC_LBLARGMENTS), "定型文字列(&P)");
  });
}

TEST_F(EditDialog, EachFailedCheckShowsItsMessageAndFocusesItsField) {
  WriteCatalogue({Launcher("Taken", app_)});
  ASSERT_TRUE(OpenMain());
  const std::string folder = ProgramFolder();
  struct Case {
    const char* what;
    std::string name, path, args;
    bool fixed, context;
    std::string message;
    int focus;
  } cases[] = {
      {"empty name", "  ", app_, "", false, true, "項目名が入力されていません。", IDC_TXTITEMNAME},
      {"forbidden character", "a*b", app_, "", false, true, "項目名に \\ / : * ? \" < > | は使用できません。",
       IDC_TXTITEMNAME},
      {"tab in the name", "a\tb", app_, "", false, true,
       "項目名に不正な文字（改行コード等）が含まれています。", IDC_TXTITEMNAME},
      {"device name", "lpt9", app_, "", false, true, "この名前は予約デバイス名のため、使用できません。",
       IDC_TXTITEMNAME},
      {"too long", std::string(260, 'n'), app_, "", false, true, "項目名が長すぎます。", IDC_TXTITEMNAME},
      {"listed name in another case", "TAKEN", app_, "", false, true, "この名前は登録済みです。",
       IDC_TXTITEMNAME},
      {"tab in the parameter", "New", app_, "a\tb", false, true,
       "パラメータに不正な文字（改行コード等）が含まれています。", IDC_TXTARGMENTS},
      {"blank fixed string", "New", "", "   ", true, false, "パラメータが入力されていません。",
       IDC_TXTARGMENTS},
      {"no path", "New", " ", "", false, true, "アプリケーションのパスが入力されていません。",
       IDC_TXTAPLPATH},
      {"tab in the path", "New", "C:\\a\tb.exe", "", false, true,
       "アプリケーションのパスに不正な文字（改行コード等）が含まれています。", IDC_TXTAPLPATH},
      {"missing program", "New", folder + "none.exe", "", false, true, "アプリケーションがみつかりません。",
       IDC_TXTAPLPATH},
      {"folder for program", "New", folder, "", false, true, "アプリケーションがみつかりません。",
       IDC_TXTAPLPATH},
      {"no context", "New", app_, "", false, false, "表示方法がひとつもチェックされていません。",
       IDC_CHKCONTEXTS0},
  };
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    size_t seen = 0;
    for (const Case& c : cases) {
      SetText(IDC_TXTITEMNAME, c.name);
      SetText(IDC_TXTAPLPATH, c.path);
      SetText(IDC_TXTARGMENTS, c.args);
      SendMessageA(Ctl(IDC_CHKFIXEDSTRING), BM_SETCHECK, c.fixed ? BST_CHECKED : BST_UNCHECKED, 0);
      SendMessageA(Ctl(IDC_CHKCONTEXTS2), BM_SETCHECK, c.context ? BST_CHECKED : BST_UNCHECKED, 0);
      ExpectMessageBox(IDOK);
      Click(IDOK);
      const auto boxes = SeenMessageBoxes();
      ASSERT_EQ(boxes.size(), ++seen) << c.what;
      ExpectBox(boxes.back(), c.message, BoxIcon::Warning);
      EXPECT_EQ(boxes.back().buttons, (std::vector<int>{IDOK})) << c.what;
      EXPECT_EQ(FocusId(), c.focus) << c.what;
      if (c.focus != IDC_CHKCONTEXTS0) {
        const int length = static_cast<int>(GetWindowTextLengthW(Ctl(c.focus)));
        EXPECT_EQ(Selection(c.focus), std::make_pair(0, length)) << c.what << ": whole text selected";
      }
      EXPECT_TRUE(DialogOpen());
    }
  });
  EXPECT_EQ(ItemCount(), 1);
  EXPECT_FALSE(ScriptExists("New"));
}

TEST_F(EditDialog, RenameToTheSameNameIsRefused) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNRENAME, 0, [&](HWND) {
    SetText(IDC_TXTITEMNAME, " Viewer ");
    ExpectMessageBox(IDOK);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 1u);
    ExpectBox(SeenMessageBoxes()[0], "項目名が変更されていません。", BoxIcon::Warning);
    EXPECT_EQ(FocusId(), IDC_TXTITEMNAME);
  });
}

TEST_F(EditDialog, NoOnTheConfirmationKeepsEverythingAndFocusesByMode) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "  New one ");
    SetText(IDC_TXTAPLPATH, app_);
    Click(IDC_CHKCONTEXTS0);
    ExpectMessageBox(IDNO);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 1u);
    const SeenMessageBox box = SeenMessageBoxes()[0];
    ExpectBox(box, "ＩＥの右クリックメニューに「New one」を登録しますか？", BoxIcon::Question);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.defaultButton, IDYES);
    EXPECT_EQ(FocusId(), IDC_TXTITEMNAME);
    EXPECT_EQ(Text(IDC_TXTITEMNAME), "  New one ");
    EXPECT_TRUE(DialogOpen());
  });
  EXPECT_FALSE(ScriptExists("New one"));
  EXPECT_FALSE(KeyExists("New one"));
  EXPECT_EQ(ItemCount(), 1);

  RunDialog(IDC_BTNEDIT, 0, [&](HWND) {
    ExpectMessageBox(IDNO);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 2u);
    ExpectBox(SeenMessageBoxes()[1], "入力された内容で更新しますか？", BoxIcon::Question);
    EXPECT_EQ(FocusId(), IDC_TXTAPLPATH);
  });
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), "<html>Viewer</html>\r\n");
}

TEST_F(EditDialog, AddWritesScriptKeyListAndSettings) {
  WriteCatalogue({Launcher("Mid", app_), Launcher("Zed", app_)});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "  Alpha ");
    SetText(IDC_TXTAPLPATH, " " + app_ + " ");
    SetText(IDC_TXTARGMENTS, " <AU> ");
    SetText(IDC_TXTEDITCOMMENT, "line 1\r\nline 2");
    Click(IDC_CHKCONTEXTS2);
    Click(IDC_CHKCONTEXTS3);
    SendMessageA(Ctl(IDC_CMBWINDOUSTYLE), CB_SETCURSEL, 2, 0);
    Click(IDC_CHKCONFCMDLINE);
    ExpectMessageBox(IDYES);
    Click(IDOK);
    EXPECT_FALSE(DialogOpen());
  });
  ASSERT_EQ(ItemCount(), 3);
  const ItemRecord& added = Items[0];
  EXPECT_EQ(added.ItemName, "Alpha");
  EXPECT_EQ(added.AplPath, app_);
  EXPECT_EQ(added.Argments, " <AU> ");
  EXPECT_EQ(added.Comment, "line 1\r\nline 2");
  EXPECT_EQ(added.Contexts, (std::array<int16_t, 4>{0, 0, 1, 1}));
  EXPECT_EQ(added.WindowStyle, 2);
  EXPECT_EQ(added.ConfCmdLine, 1);
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Alpha")), LauncherScriptText("Alpha", app_, " <AU> ", 2, true));
  EXPECT_EQ(KeyDefault("Alpha"), ScriptFilePath("Alpha"));
  EXPECT_EQ(KeyNumber("Alpha", "Contexts"), 0x30u);
  EXPECT_EQ(KeyNumber("Alpha", "Flags"), 0u);
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Alpha", "Mid", "Zed"}));
  EXPECT_EQ(ListSelection(), 0);
  EXPECT_EQ(Status(0), "項目数：3");
  EXPECT_NE(ReadFileBytes(SettingsFilePath()).find("Alpha"), std::string::npos) << "saved at once";
}

TEST_F(EditDialog, EditWithoutContextChangeRewritesTheScriptOnly) {
  WriteCatalogue({Launcher("Alpha", app_), Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  // A mark the registration would overwrite.
  const DWORD mark = 7;
  RegSetKeyValueA(HKEY_CURRENT_USER, ("Software\\Microsoft\\Internet Explorer\\MenuExt\\Viewer"), "Flags",
                  REG_DWORD, &mark, sizeof mark);
  RunDialog(IDC_BTNEDIT, 1, [&](HWND) {
    SetText(IDC_TXTARGMENTS, "<ST>");
    SetText(IDC_TXTEDITCOMMENT, "new comment");
    SendMessageA(Ctl(IDC_CMBWINDOUSTYLE), CB_SETCURSEL, 0, 0);
    ExpectMessageBox(IDYES);
    Click(IDOK);
  });
  EXPECT_EQ(KeyNumber("Viewer", "Flags"), 7u) << "registered again";
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), LauncherScriptText("Viewer", app_, "<ST>", 0, false));
  EXPECT_EQ(Items[1].Comment, "new comment");
  EXPECT_EQ(Items[1].WindowStyle, 0);
  EXPECT_EQ(ListSelection(), 1);
  EXPECT_EQ(Status(0), "項目数：2");

  RunDialog(IDC_BTNEDIT, 1, [&](HWND) {
    Click(IDC_CHKCONTEXTS0);  // one flag changes
    ExpectMessageBox(IDYES);
    Click(IDOK);
  });
  EXPECT_EQ(KeyNumber("Viewer", "Flags"), 0u) << "not registered again";
  EXPECT_EQ(KeyNumber("Viewer", "Contexts"), 0x32u);
  EXPECT_EQ(Items[1].Contexts, (std::array<int16_t, 4>{0, 1, 1, 1}));
}

TEST_F(EditDialog, SwitchingToFixedStringStoresTheEmptyValues) {
  ItemRecord item = Launcher("Viewer", app_);
  item.ConfCmdLine = 1;
  item.WindowStyle = 3;
  WriteCatalogue({item});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNEDIT, 0, [&](HWND) {
    Click(IDC_CHKFIXEDSTRING);
    EXPECT_EQ(Text(IDC_LBLARGMENTS), "定型文字列(&P)");
    for (int id : {IDC_LBLAPLPATH, IDC_TXTAPLPATH, IDC_BTNBROWS, IDC_CHKCONTEXTS0, IDC_PICCONTEXTS,
                   IDC_FRACONTEXTS, IDC_LBLWINDOWSTYLE, IDC_CMBWINDOUSTYLE, IDC_CHKCONFCMDLINE}) {
      EXPECT_FALSE(IsWindowEnabled(Ctl(id))) << id;
    }
    // Values stay, greyed, and come back unchanged.
    EXPECT_EQ(Text(IDC_TXTAPLPATH), app_);
    Click(IDC_CHKFIXEDSTRING);
    EXPECT_TRUE(IsWindowEnabled(Ctl(IDC_TXTAPLPATH)));
    EXPECT_EQ(Text(IDC_LBLARGMENTS), "パラメータ(&P)");
    EXPECT_TRUE(IsChecked(IDC_CHKCONFCMDLINE));
    EXPECT_EQ(Text(IDC_CMBWINDOUSTYLE), "最大化表示");
    Click(IDC_CHKFIXEDSTRING);
    SetText(IDC_TXTARGMENTS, "<Y4>/<M2>");
    ExpectMessageBox(IDYES);
    Click(IDOK);
  });
  ASSERT_EQ(ItemCount(), 1);
  const ItemRecord& stored = Items[0];
  EXPECT_EQ(stored.FixedString, 1);
  EXPECT_EQ(stored.AplPath, "");
  EXPECT_EQ(stored.Contexts, (std::array<int16_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(stored.WindowStyle, 1);
  EXPECT_EQ(stored.ConfCmdLine, 0);
  EXPECT_EQ(stored.Argments, "<Y4>/<M2>");
  EXPECT_EQ(KeyNumber("Viewer", "Contexts"), 0x04u);
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), FixedStringScriptText("<Y4>/<M2>"));
}

TEST_F(EditDialog, RenameMovesKeyAndFileToTheNewName) {
  WriteCatalogue({Launcher("Alpha", app_), Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNRENAME, 1, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Browser ");
    ExpectMessageBox(IDYES);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 1u);
    ExpectBox(SeenMessageBoxes()[0], "項目名を変更しますか？", BoxIcon::Question);
  });
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Alpha", "Browser"}));
  EXPECT_EQ(ListSelection(), 0);
  EXPECT_FALSE(ScriptExists("Viewer"));
  EXPECT_FALSE(KeyExists("Viewer"));
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Browser")), LauncherScriptText("Browser", app_, "<TU>", 1, false));
  EXPECT_EQ(KeyDefault("Browser"), ScriptFilePath("Browser"));
  EXPECT_EQ(Items[1].Comment, "comment");
}

TEST_F(EditDialog, RenameChangingOnlyTheLetterCaseKeepsKeyAndFile) {
  WriteCatalogue({Launcher("viewer", app_), Launcher("Zeta", app_)});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNRENAME, 0, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Viewer");
    ExpectMessageBox(IDYES);
    Click(IDOK);
    EXPECT_FALSE(DialogOpen());
  });
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Viewer", "Zeta"}));
  EXPECT_EQ(ItemCount(), 2);
  EXPECT_EQ(ScriptNameOnDisk("Viewer"), "Viewer.html");
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), LauncherScriptText("Viewer", app_, "<TU>", 1, false));
  EXPECT_EQ(KeyNameInRegistry("Viewer"), "Viewer");
  EXPECT_EQ(KeyDefault("Viewer"), ScriptFilePath("Viewer"));
  EXPECT_EQ(KeyNumber("Viewer", "Contexts"), 0x33u);
}

TEST_F(EditDialog, FailedRegistrationInAddModeLeavesNothingBehind) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  ASSERT_TRUE(DenyValueWrites("Blocked"));
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Blocked");
    SetText(IDC_TXTAPLPATH, app_);
    Click(IDC_CHKCONTEXTS0);
    ExpectMessageBox(IDYES);
    ExpectMessageBox(IDOK);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 2u);
    ExpectBox(SeenMessageBoxes()[1], "ＩＥの右クリックメニューへの登録に失敗しました。", BoxIcon::Stop);
    EXPECT_TRUE(DialogOpen());
    Click(IDCANCEL);
  });
  EXPECT_FALSE(ScriptExists("Blocked")) << "orphan script file";
  EXPECT_EQ(ItemCount(), 1);
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Viewer"}));
}

TEST_F(EditDialog, FailedRegistrationInEditModeKeepsTheStoredScript) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  ASSERT_TRUE(DenyValueWrites("Viewer"));
  RunDialog(IDC_BTNEDIT, 0, [&](HWND) {
    SetText(IDC_TXTARGMENTS, "<ST>");
    Click(IDC_CHKCONTEXTS1);
    ExpectMessageBox(IDYES);
    ExpectMessageBox(IDOK);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 2u);
    ExpectBox(SeenMessageBoxes()[1], "ＩＥの右クリックメニューへの登録に失敗しました。", BoxIcon::Stop);
    Click(IDCANCEL);
  });
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), "<html>Viewer</html>\r\n");
  EXPECT_EQ(Items[0].Argments, "<TU>");
  EXPECT_EQ(KeyNumber("Viewer", "Contexts"), 0x33u);
}

TEST_F(EditDialog, EnterCommitsExceptInTheCommentBox) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTAPLPATH, app_);
    Click(IDC_CHKCONTEXTS0);
    SetFocus(Ctl(IDC_TXTEDITCOMMENT));
    EXPECT_FALSE(GetWindowLongA(Ctl(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    PressKey(Ctl(IDC_TXTEDITCOMMENT), VK_RETURN, '\r');
    EXPECT_TRUE(DialogOpen());
    EXPECT_EQ(Text(IDC_TXTEDITCOMMENT), "\r\n");
    EXPECT_TRUE(SeenMessageBoxes().empty());
    SetFocus(Ctl(IDC_TXTITEMNAME));
    EXPECT_TRUE(GetWindowLongA(Ctl(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    SetText(IDC_TXTITEMNAME, "Entered");
    ExpectMessageBox(IDYES);
    PressKey(Ctl(IDC_TXTITEMNAME), VK_RETURN);
    EXPECT_FALSE(DialogOpen());
  });
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Items[0].ItemName, "Entered");
  EXPECT_EQ(Items[0].Comment, "\r\n");
}

TEST_F(EditDialog, TabSelectsTheWholeTextAClickKeepsTheCaret) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTAPLPATH, "C:\\abc.exe");
    SetText(IDC_TXTARGMENTS, "abcdef");
    // By Tab from the name: the path box's whole text is selected.
    SetFocus(Ctl(IDC_BTNBROWS));
    PressKey(Ctl(IDC_BTNBROWS), VK_TAB);
    EXPECT_EQ(FocusId(), IDC_TXTARGMENTS);
    EXPECT_EQ(Selection(IDC_TXTARGMENTS), std::make_pair(0, 6));
    // By a click: the caret stands where the click put it.
    SetFocus(Ctl(IDC_BTNMENU));
    ClickAt(IDC_TXTAPLPATH, 200, 8);  // right of the text: at its end
    EXPECT_EQ(FocusId(), IDC_TXTAPLPATH);
    EXPECT_EQ(Selection(IDC_TXTAPLPATH), std::make_pair(10, 10));
    // By the access key: whole text again.
    PressAccessKey('p');
    EXPECT_EQ(FocusId(), IDC_TXTARGMENTS);
    EXPECT_EQ(Selection(IDC_TXTARGMENTS), std::make_pair(0, 6));
  });
}

TEST_F(EditDialog, TokensGoInAtTheCaretAndNeverReplaceASelection) {
  ItemRecord item = Launcher("Viewer", app_);
  item.Argments = "abcdef";
  WriteCatalogue({item});
  ASSERT_TRUE(OpenMain());
  // Before the box was ever entered: the focus is in the path box.
  RunDialog(IDC_BTNEDIT, 0, [&](HWND) {
    EXPECT_EQ(FocusId(), IDC_TXTAPLPATH);
    PickToken("<TU>");
    EXPECT_EQ(Text(IDC_TXTARGMENTS), "<TU>abcdef");
    EXPECT_EQ(FocusId(), IDC_TXTARGMENTS);
    EXPECT_EQ(Selection(IDC_TXTARGMENTS), std::make_pair(4, 4));
    struct Case {
      const char* what;
      int start, end;
      std::string token, expected;
      int caret;
    } cases[] = {
        {"at the start", 0, 0, "<ST>", "<ST>abcdef", 4},
        {"in the middle", 3, 3, "<\\N>", "abc<\\N>def", 7},
        {"at the end", 6, 6, "<Y4>", "abcdef<Y4>", 10},
        {"in front of a selection", 2, 4, "<AU>", "ab<AU>cdef", 6},
        {"in front of the whole text selected", 0, 6, "<IT>", "<IT>abcdef", 4},
    };
    for (const Case& c : cases) {
      SetText(IDC_TXTARGMENTS, "abcdef");
      SetFocus(Ctl(IDC_TXTARGMENTS));
      SendMessageA(Ctl(IDC_TXTARGMENTS), EM_SETSEL, c.start, c.end);
      PickToken(c.token);
      EXPECT_EQ(Text(IDC_TXTARGMENTS), c.expected) << c.what;
      EXPECT_EQ(Selection(IDC_TXTARGMENTS), std::make_pair(c.caret, c.caret)) << c.what;
      EXPECT_EQ(FocusId(), IDC_TXTARGMENTS) << c.what;
    }
    // Double-byte text: positions are characters.
    SetText(IDC_TXTARGMENTS, "表示表示");
    SetFocus(Ctl(IDC_TXTARGMENTS));
    SendMessageA(Ctl(IDC_TXTARGMENTS), EM_SETSEL, 2, 2);
    PickToken("<TT>");
    EXPECT_EQ(Text(IDC_TXTARGMENTS), "表示<TT>表示");
  });
}

}  // namespace

namespace {

TEST_F(EditDialog, FailedRegistrationInRenameModeKeepsTheOldItemWhole) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  ASSERT_TRUE(DenyValueWrites("Blocked"));
  RunDialog(IDC_BTNRENAME, 0, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Blocked");
    ExpectMessageBox(IDYES);
    ExpectMessageBox(IDOK);
    Click(IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), 2u);
    EXPECT_EQ(SeenMessageBoxes()[1].text, "ＩＥの右クリックメニューへの登録に失敗しました。");
    Click(IDCANCEL);
  });
  EXPECT_FALSE(ScriptExists("Blocked"));
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("Viewer")), "<html>Viewer</html>\r\n");
  EXPECT_EQ(KeyDefault("Viewer"), ScriptFilePath("Viewer"));
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Viewer"}));
}

}  // namespace
