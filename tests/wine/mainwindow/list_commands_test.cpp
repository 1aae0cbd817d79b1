// The list commands on the real registry, script files and settings file:
// delete, delete all, their confirmations, the keys and clicks that open the
// edit dialog, and the settings file written after every change.
#include <windows.h>

#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "editdialog/edit_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"

namespace {

class ListCommands : public MainWindowTest {
 protected:
  void Click(int id) { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  void Select(int line) { SendMessageA(Control(IDC_LSTITEMS), LB_SETCURSEL, line, 0); }

  std::vector<ItemRecord> Five() {
    return {LauncherItem("A1"), LauncherItem("B2"), LauncherItem("C3"), LauncherItem("D4"),
            LauncherItem("E5")};
  }
};

void ExpectConfirmation(const SeenMessageBox& box, const std::string& text) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.title, "Orbisk");
  EXPECT_EQ(box.icon, BoxIcon::Question);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(box.defaultButton, IDNO) << "Enter must answer No";
}

TEST_F(ListCommands, DeleteTheThirdOfFive) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  Select(2);
  ExpectMessageBox(IDYES);
  Click(IDC_BTNDEL);
  ASSERT_EQ(SeenMessageBoxes().size(), 1u);
  ExpectConfirmation(SeenMessageBoxes()[0], "ＩＥの右クリックメニューから「C3」を削除しますか？");

  EXPECT_EQ(ListLines(), (std::vector<std::string>{"A1", "B2", "D4", "E5"}));
  EXPECT_EQ(ItemCount(), 4);
  EXPECT_EQ(Items[2].ItemName, "D4");
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(StatusText(0), "項目数：4");
  EXPECT_FALSE(ScriptExists("C3"));
  EXPECT_FALSE(KeyExists("C3"));
  for (const char* kept : {"A1", "B2", "D4", "E5"}) {
    EXPECT_TRUE(ScriptExists(kept)) << kept;
    EXPECT_TRUE(KeyExists(kept)) << kept;
  }
  // Saved at once, not only when the window closes.
  EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"A1", "B2", "D4", "E5"}));
  EXPECT_TRUE(Enabled(IDC_BTNEDIT) && Enabled(IDC_BTNDEL) && Enabled(IDC_BTNALLDEL));
}

TEST_F(ListCommands, DeleteKeyInTheListDeletesTheSelectedItem) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  Select(4);
  SetFocus(Control(IDC_LSTITEMS));
  ExpectMessageBox(IDYES);
  PressKey(Control(IDC_LSTITEMS), VK_DELETE);
  ASSERT_EQ(SeenMessageBoxes().size(), 1u);
  EXPECT_EQ(SeenMessageBoxes()[0].text, DeleteConfirmText("E5"));
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"A1", "B2", "C3", "D4"}));
  EXPECT_EQ(Selection(), 0);
}

TEST_F(ListCommands, DeletingTheOnlyItemLeavesOnlyAddEnabled) {
  WriteCatalogue({LauncherItem("Alone")});
  ASSERT_TRUE(Open());
  SetFocus(Control(IDC_BTNDEL));
  ExpectMessageBox(IDYES);
  Click(IDC_BTNDEL);
  EXPECT_TRUE(ListLines().empty());
  EXPECT_EQ(Selection(), -1);
  EXPECT_EQ(StatusText(0), "項目数：0");
  EXPECT_TRUE(Enabled(IDC_BTNADD));
  for (const int id : {IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL, IDC_BTNALLDEL})
    EXPECT_FALSE(Enabled(id)) << id;
  // The disabled button had the focus; the keyboard stays usable.
  EXPECT_EQ(GetFocus(), Control(IDC_LSTITEMS));
  EXPECT_TRUE(SettingsNames().empty());
  EXPECT_NE(SettingsText().find("ItemCount=0"), std::string::npos);
}

TEST_F(ListCommands, AnsweringNoChangesNothing) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  const std::string before = SettingsText();
  Select(1);
  ExpectMessageBox(IDNO);
  Click(IDC_BTNDEL);
  ExpectMessageBox(IDNO);
  Click(IDC_BTNALLDEL);
  ASSERT_EQ(SeenMessageBoxes().size(), 2u);
  ExpectConfirmation(SeenMessageBoxes()[0], DeleteConfirmText("B2"));
  ExpectConfirmation(SeenMessageBoxes()[1], "ＩＥの右クリックメニューから一覧の全項目を削除しますか？");
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"A1", "B2", "C3", "D4", "E5"}));
  EXPECT_EQ(Selection(), 1);
  EXPECT_EQ(StatusText(0), "項目数：5");
  for (const ItemRecord& item : Five()) {
    EXPECT_TRUE(ScriptExists(item.ItemName));
    EXPECT_TRUE(KeyExists(item.ItemName));
  }
  EXPECT_EQ(SettingsText(), before);
}

TEST_F(ListCommands, DeleteAllRemovesEveryItemNamesDifferingInCaseIncluded) {
  // Memo and memo share one key and one script file; the protection that
  // keeps a shared entry while the other name is listed must not leave it
  // behind when both go.
  WriteCatalogue({LauncherItem("Memo"), LauncherItem("memo"), LauncherItem("Other"), LauncherItem("x")});
  ASSERT_TRUE(Open());
  ASSERT_EQ(ItemCount(), 4);
  ExpectMessageBox(IDYES);
  Click(IDC_BTNALLDEL);
  ASSERT_EQ(SeenMessageBoxes().size(), 1u);
  ExpectConfirmation(SeenMessageBoxes()[0], kDeleteAllConfirmText);
  EXPECT_TRUE(ListLines().empty());
  EXPECT_EQ(ItemCount(), 0);
  EXPECT_EQ(StatusText(0), "項目数：0");
  for (const char* name : {"Memo", "Other", "x"}) {
    EXPECT_FALSE(ScriptExists(name)) << name;
    EXPECT_FALSE(KeyExists(name)) << name;
  }
  EXPECT_TRUE(Enabled(IDC_BTNADD));
  for (const int id : {IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL, IDC_BTNALLDEL})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(SettingsNames().empty());
}

TEST_F(ListCommands, DeletingOneOfTwoNamesDifferingInCaseKeepsTheSharedEntry) {
  WriteCatalogue({LauncherItem("Memo"), LauncherItem("memo")});
  ASSERT_TRUE(Open());
  Select(0);
  ExpectMessageBox(IDYES);
  Click(IDC_BTNDEL);
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_TRUE(ScriptExists(Items[0].ItemName));
  EXPECT_TRUE(KeyExists(Items[0].ItemName));
}

TEST_F(ListCommands, CommandsWithoutTheirPreconditionDoNothing) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  EditDialogWatcher watcher(Window());
  // Any message box or dialog here would be a fault: the harness fails the
  // test on an unexpected box, the watcher records dialogs.
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_BTNALLDEL, BN_CLICKED), 0);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_BTNDEL, BN_CLICKED), 0);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_BTNEDIT, BN_CLICKED), 0);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_BTNRENAME, BN_CLICKED), 0);
  SetFocus(Control(IDC_LSTITEMS));
  PressKey(Control(IDC_LSTITEMS), VK_RETURN);
  PressKey(Control(IDC_LSTITEMS), VK_DELETE);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_LSTITEMS, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Control(IDC_LSTITEMS)));
  // The window runs on this thread: once its queue is empty, whatever the
  // commands set going has happened.
  FlushMessages();
  EXPECT_TRUE(watcher.Opened().empty());
  EXPECT_TRUE(SeenMessageBoxes().empty());
  EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(ListCommands, ListCommandsWithNothingSelectedDoNothing) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  Select(-1);
  EditDialogWatcher watcher(Window());
  SetFocus(Control(IDC_LSTITEMS));
  PressKey(Control(IDC_LSTITEMS), VK_RETURN);
  PressKey(Control(IDC_LSTITEMS), VK_DELETE);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_LSTITEMS, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Control(IDC_LSTITEMS)));
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_BTNDEL, BN_CLICKED), 0);
  FlushMessages();
  EXPECT_TRUE(watcher.Opened().empty());
  EXPECT_EQ(ItemCount(), 5);
}

TEST_F(ListCommands, ButtonsFollowAListWithNothingSelectedBeforeAddOpens) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  // Nothing selected any more, while the buttons still show the start's
  // selection (a change of selection does not update them).
  Select(-1);
  ASSERT_TRUE(IsWindowEnabled(Control(IDC_BTNEDIT)));
  std::vector<bool> whileOpen;
  EditDialogWatcher watcher(Window(), [&](HWND dialog) {
    for (const int id : {IDC_BTNADD, IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL, IDC_BTNALLDEL}) {
      whileOpen.push_back(IsWindowEnabled(Control(id)) != FALSE);
    }
    watcher.RecordAndCancel(dialog);
  });
  Click(IDC_BTNADD);
  ASSERT_EQ(watcher.Opened().size(), 1u);
  // Right already when the cancelled dialog goes, and after.
  EXPECT_EQ(whileOpen, (std::vector<bool>{true, false, false, false, true}));
  for (const int id : {IDC_BTNEDIT, IDC_BTNRENAME, IDC_BTNDEL})
    EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;
  EXPECT_EQ(Selection(), -1);
}

TEST_F(ListCommands, ButtonsKeysAndDoubleClickOpenTheEditDialogInTheirMode) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  Select(3);
  EditDialogWatcher watcher(Window());
  Click(IDC_BTNADD);
  Click(IDC_BTNEDIT);
  Click(IDC_BTNRENAME);
  SetFocus(Control(IDC_LSTITEMS));
  PressKey(Control(IDC_LSTITEMS), VK_RETURN);
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_LSTITEMS, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Control(IDC_LSTITEMS)));
  const std::vector<OpenedDialog>& opened = watcher.Opened();
  ASSERT_EQ(opened.size(), 5u);
  const EditModes modes[] = {EditModes::Add, EditModes::Edit, EditModes::Rename, EditModes::Edit,
                             EditModes::Edit};
  for (size_t i = 0; i < opened.size(); ++i) {
    EXPECT_EQ(opened[i].mode, modes[i]) << i;
    EXPECT_EQ(opened[i].droppedPath, "") << i;
  }
  EXPECT_EQ(Selection(), 3);
  // The window has the focus back after each.
  EXPECT_EQ(GetActiveWindow(), Window());
  // A cancelled dialog changes nothing, so nothing is written.
  EXPECT_EQ(SettingsNames().size(), 5u);
}

TEST_F(ListCommands, ACommitOfTheEditDialogReachesTheSettingsFileAtOnce) {
  WriteCatalogue({LauncherItem("Old")}, {LauncherItem("Unregistered")});
  ASSERT_TRUE(Open());
  // Stands in for the dialog's commit: register, append, sort, and report the
  // added item; showing and saving the list are the main window's.
  EditDialogWatcher watcher(Window(), [&](HWND) {
    ASSERT_TRUE(RegisterMenuEntry("New", false, {true, false, false, false}));
    Items.push_back(LauncherItem("New"));
    EndEditDialog({EditCommit::Added, 1});
  });
  Click(IDC_BTNADD);
  EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"Old", "New"}));
  EXPECT_EQ(StatusText(0), "項目数：2");
  EXPECT_TRUE(Enabled(IDC_BTNALLDEL));
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Old", "New"}));
  EXPECT_EQ(Selection(), 0);
}

TEST_F(ListCommands, ADialogThatReportsNoCommitIsNotSaved) {
  WriteCatalogue({LauncherItem("Old")});
  ASSERT_TRUE(Open());
  std::string marked;
  EditDialogWatcher watcher(Window(), [&](HWND dialog) {
    Items.push_back(LauncherItem("New"));
    // Marks the file: a save by the main window would rewrite it.
    marked = SettingsText() + "[Mark]\r\n";
    WriteFileBytes(SettingsFilePath(), marked);
    EndDialog(dialog, IDOK);
  });
  Click(IDC_BTNADD);
  EXPECT_EQ(SettingsText(), marked);
}

TEST_F(ListCommands, AFailedSaveIsReportedWithTheSettingsFile) {
  WriteCatalogue(Five());
  ASSERT_TRUE(Open());
  // A folder where the settings file must go: it cannot be replaced.
  const std::string path = SettingsFilePath();
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  Select(0);
  ExpectMessageBox(IDYES);
  ExpectMessageBox(IDOK);
  Click(IDC_BTNDEL);
  ASSERT_EQ(SeenMessageBoxes().size(), 2u);
  const SeenMessageBox failure = SeenMessageBoxes()[1];
  EXPECT_EQ(failure.text, "設定ファイルの保存に失敗しました。\r\n" + path);
  EXPECT_EQ(failure.icon, BoxIcon::Stop);
  EXPECT_EQ(failure.title, "Orbisk");
  EXPECT_EQ(ItemCount(), 4);  // the delete itself stands

  // The close reports it too, and still closes.
  ExpectMessageBox(IDOK);
  UnloadMainWindow();
  ASSERT_EQ(SeenMessageBoxes().size(), 3u);
  EXPECT_EQ(SeenMessageBoxes()[2].text, failure.text);
  EXPECT_FALSE(IsWindow(Window()));
  RemoveDirectoryA(path.c_str());
}

}  // namespace
