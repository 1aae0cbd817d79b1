// The dialog's parts around the fields: the parameter menu as the user opens
// it, the field help and tooltips of both layouts, the script shown in the
// source editor, the Open File dialog, and an item added through the dialog
// whose script then starts its application.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "catalogue/program_paths.h"
#include "editdialog/edit_dialog_resource.h"
#include "mainwindow/resource.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/editdialog/edit_dialog_fixture.h"
#include "ui/field_help.h"

namespace {

constexpr char kEditorKey[] = "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name";

class EditDialogParts : public EditDialogTest {
 protected:
  void SetUp() override {
    EditDialogTest::SetUp();
    app_ = ProgramFolder() + "viewer.exe";
    ASSERT_TRUE(WriteFileBytes(app_, "MZ"));
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEditorKey);
    EditDialogTest::TearDown();
  }
  std::string app_;
};

// The open popup menu of this process, once it is shown. It is the test
// thread's, busy in the menu's loop, so this runs on another thread, where
// nothing announces the menu: it is looked for until it comes.
HWND WaitForPopupMenu() {
  HWND menu = nullptr;
  WaitUntil(
      [&menu] {
        menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
      },
      5000);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// What a key changes in the open menus: which are shown, and the entry each
// has highlighted.
std::vector<std::pair<HWND, int>> MenuState() {
  std::vector<std::pair<HWND, int>> state;
  for (HWND window = FindWindowA("#32768", nullptr); window;
       window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
    if (!IsWindowVisible(window)) continue;
    // Bounded: the test thread may have left the menu's loop meanwhile.
    DWORD_PTR handle = 0;
    SendMessageTimeoutA(window, MN_GETHMENU, 0, 0, SMTO_NORMAL, 1000, &handle);
    const auto menu = reinterpret_cast<HMENU>(handle);
    int highlighted = -1;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE) highlighted = i;
    }
    state.emplace_back(window, highlighted);
  }
  return state;
}

POINT ScreenCenter(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

struct MenuSeen {
  RECT rect = {};
  std::vector<std::string> captions;
  std::vector<bool> grayed;
};

// While the menu opened by the test thread is up, another thread reads it and
// then presses the keys (posted to the dialog's thread, where the menu's loop
// takes them).
std::thread ReadMenuThenPress(HWND dialog, MenuSeen* seen, std::vector<UINT> keys) {
  return std::thread([=] {
    HWND window = WaitForPopupMenu();
    if (!window) return;
    GetWindowRect(window, &seen->rect);
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char caption[128] = {};
      GetMenuStringA(menu, i, caption, sizeof caption, MF_BYPOSITION);
      seen->captions.push_back(caption);
      // The separator counts as grey by nature; only entries are asked.
      const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
      seen->grayed.push_back((state & MF_SEPARATOR) == 0 && (state & MF_GRAYED) != 0);
    }
    // Each key is pressed once the menu has taken the one before: the menu's
    // loop tells no other thread, so its state is looked at until it moves.
    for (const UINT key : keys) {
      const auto before = MenuState();
      PostMessageA(dialog, WM_KEYDOWN, key, 0);
      WaitUntil([&before] { return MenuState() != before; }, 5000);
    }
  });
}

TEST_F(EditDialogParts, TheMenuOpensUnderTheButtonAndPutsThePickedTokenIn) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND dialog) {
    SetText(IDC_TXTARGMENTS, "ab");
    SetFocus(Ctl(IDC_TXTARGMENTS));
    SendMessageA(Ctl(IDC_TXTARGMENTS), EM_SETSEL, 1, 1);
    MenuSeen seen;
    // The sixth group (date and time), its first entry.
    std::thread reader = ReadMenuThenPress(
        dialog, &seen, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    Click(IDC_BTNMENU);
    PumpMessages(50);
    reader.join();
    RECT button;
    GetWindowRect(Ctl(IDC_BTNMENU), &button);
    EXPECT_EQ(seen.rect.left, button.left);
    EXPECT_EQ(seen.rect.top, button.bottom);
    EXPECT_EQ(seen.captions,
              (std::vector<std::string>{"&URL", "タイトル(&T)", "リンク(&A)", "画像(&I)", "選択(&S)",
                                        "日時(&D)", "その他(&O)", "", "キャンセル(&C)"}));
    EXPECT_EQ(seen.grayed, std::vector<bool>(9, false));
    EXPECT_EQ(Text(IDC_TXTARGMENTS), "a<Y4>b");
    EXPECT_EQ(FocusId(), IDC_TXTARGMENTS);
    EXPECT_EQ(Selection(IDC_TXTARGMENTS), std::make_pair(5, 5));
  });
}

TEST_F(EditDialogParts, FixedStringMenuOffersDateTimeAndOtherOnlyAndEscChangesNothing) {
  WriteCatalogue({FixedStringItem("Stamp", "x")});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNEDIT, 0, [&](HWND dialog) {
    MenuSeen seen;
    std::thread reader = ReadMenuThenPress(dialog, &seen, {VK_ESCAPE});
    Click(IDC_BTNMENU);
    PumpMessages(50);
    reader.join();
    EXPECT_EQ(seen.grayed, (std::vector<bool>{true, true, true, true, true, false, false, false, false}));
    EXPECT_EQ(Text(IDC_TXTARGMENTS), "x");
    EXPECT_EQ(FocusId(), IDC_BTNMENU);
  });
}

TEST_F(EditDialogParts, RightClickShowsTheTopicOfTheLayout) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND dialog) {
    const auto topicOf = [&](int id) {
      CloseFieldHelp();
      const POINT at = ScreenCenter(Ctl(id));
      SendMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Ctl(id)), MAKELPARAM(at.x, at.y));
      const int topic = FieldHelpWindow() ? FieldHelpTopic() : 0;
      CloseFieldHelp();
      return topic;
    };
    const std::pair<int, int> launcher[] = {
        {IDC_LBLITEMNAME, 8},   {IDC_LBLAPLPATH, 9},      {IDC_BTNBROWS, 10},       {IDC_LBLARGMENTS, 11},
        {IDC_BTNMENU, 12},      {IDC_LBLCOMMENT, 13},     {IDC_PICCONTEXTS, 14},    {IDC_CHKCONTEXTS0, 15},
        {IDC_CHKCONTEXTS1, 16}, {IDC_CHKCONTEXTS2, 17},   {IDC_CHKCONTEXTS3, 18},   {IDOK, 19},
        {IDCANCEL, 20},         {IDC_LBLWINDOWSTYLE, 21}, {IDC_CHKCONFCMDLINE, 22}, {IDC_CHKFIXEDSTRING, 24},
        {IDC_LBLCONTEXTS, 0},   {IDC_TXTARGMENTS, 0},     {IDC_TXTITEMNAME, 0},     {IDC_CMBWINDOUSTYLE, 0},
    };
    for (const auto& [id, topic] : launcher) EXPECT_EQ(topicOf(id), topic) << id;
    Click(IDC_CHKFIXEDSTRING);
    EXPECT_EQ(topicOf(IDC_LBLARGMENTS), 25);
    EXPECT_EQ(topicOf(IDC_BTNMENU), 27);
    EXPECT_EQ(topicOf(IDC_LBLAPLPATH), 0) << "a disabled control does not react";
    EXPECT_EQ(topicOf(IDC_TXTARGMENTS), 0);
  });
}

TEST_F(EditDialogParts, TooltipsInHalfWidthKatakana) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  RunDialog(IDC_BTNADD, -1, [&](HWND dialog) {
    HWND tooltip = nullptr;
    // The dialog's tooltip window among the top-level windows.
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
      char name[64] = {};
      GetClassNameA(w, name, sizeof name);
      if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(w, GW_OWNER) == dialog) tooltip = w;
    }
    ASSERT_NE(tooltip, nullptr);
    const auto tipOf = [&](int id) {
      char text[256] = {};
      TTTOOLINFOA tool = {};
      tool.cbSize = TTTOOLINFOA_V1_SIZE;
      tool.hwnd = dialog;
      tool.uId = reinterpret_cast<UINT_PTR>(Ctl(id));
      tool.lpszText = text;
      SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
      return std::string(text);
    };
    EXPECT_EQ(tipOf(IDC_BTNBROWS), "ｱﾌﾟﾘｹｰｼｮﾝの選択");
    EXPECT_EQ(tipOf(IDC_BTNMENU), "置換ﾊﾟﾗﾒｰﾀの選択");
    EXPECT_EQ(tipOf(IDC_PICCONTEXTS), "右ｸﾘｯｸﾒﾆｭｰを表示する条件の選択");
    EXPECT_EQ(tipOf(IDC_CHKCONTEXTS3), "ﾃｷｽﾄを選択した状態で右ｸﾘｯｸ");
    EXPECT_EQ(tipOf(IDC_BTNOPENSOURCE), "ｽｸﾘﾌﾟﾄの表示");
    EXPECT_EQ(tipOf(IDC_TXTARGMENTS), "");
  });
}

TEST_F(EditDialogParts, ShowScriptStartsTheConfiguredEditorOnTheOldName) {
  WriteCatalogue({Launcher("My Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  const std::string editor = ProgramFolder() + "editor folder\\editor.exe";
  ASSERT_TRUE(InstallRecorder(editor));
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEditorKey, nullptr, REG_SZ, ("\"" + editor + "\"").c_str(),
                            static_cast<DWORD>(editor.size() + 3)),
            ERROR_SUCCESS);
  RunDialog(IDC_BTNRENAME, 0, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Renamed");  // not yet committed: the old file is shown
    Click(IDC_BTNOPENSOURCE);
  });
  // Orbisk started the editor from this process: wait for its record.
  const std::vector<RecordedStart> starts = WaitForRecordedStarts(editor, 1);
  ASSERT_EQ(starts.size(), 1u);
  const RecordedStart& recorded = starts[0];
  EXPECT_EQ(recorded.commandLine, "\"" + editor + "\" \"" + ScriptFilePath("My Viewer") + "\"");
  EXPECT_EQ(recorded.show, "1 1");
}

TEST_F(EditDialogParts, ShowScriptReportsAMissingEditorAndABadSetting) {
  WriteCatalogue({Launcher("Viewer", app_)});
  ASSERT_TRUE(OpenMain());
  const std::string missing = ProgramFolder() + "none.exe";
  for (const std::string& value : {"\"" + missing + "\" /r", std::string("\"")}) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEditorKey, nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    RunDialog(IDC_BTNEDIT, 0, [&](HWND) {
      ExpectMessageBox(IDOK);
      Click(IDC_BTNOPENSOURCE);
      EXPECT_TRUE(DialogOpen());
    });
  }
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "アプリケーションがみつかりません。\r\n\r\n\"" + missing + "\" /r");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
  EXPECT_EQ(boxes[1].text, "スクリプトの表示に失敗しました。");
}

TEST_F(EditDialogParts, BrowseFillsThePathAndANewItemsEmptyName) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  const std::string chosen = ProgramFolder() + "archive.tar.gz";
  ASSERT_TRUE(WriteFileBytes(chosen, "x"));
  RunDialog(IDC_BTNADD, -1, [&](HWND dialog) {
    SetText(IDC_TXTAPLPATH, app_);
    std::atomic<bool> answered{false};
    // The file dialog runs on this thread, in its own loop; the chooser looks
    // for it from another, where nothing announces it.
    std::thread chooser([&] {
      WaitUntil(
          [&] {
            for (HWND w = FindWindowA("#32770", nullptr); !answered && w;
                 w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
              if (GetWindow(w, GW_OWNER) != dialog || !IsWindowVisible(w)) continue;
              SetDlgItemTextA(w, 0x47C, chosen.c_str());  // the file-name box
              PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
              answered = true;
            }
            return answered.load();
          },
          10000);
    });
    Click(IDC_BTNBROWS);
    answered = true;
    chooser.join();
    EXPECT_EQ(Text(IDC_TXTAPLPATH), chosen);
    EXPECT_EQ(Text(IDC_TXTITEMNAME), "archive.tar");
  });
}

TEST_F(EditDialogParts, AnItemAddedInTheDialogStartsItsApplication) {
  WriteCatalogue({});
  ASSERT_TRUE(OpenMain());
  const std::string recorder = ProgramFolder() + "apps\\recorder.exe";
  ASSERT_TRUE(InstallRecorder(recorder));
  RunDialog(IDC_BTNADD, -1, [&](HWND) {
    SetText(IDC_TXTITEMNAME, "Record page");
    SetText(IDC_TXTAPLPATH, recorder);
    SetText(IDC_TXTARGMENTS, "-u ");
    SendMessageA(Ctl(IDC_TXTARGMENTS), EM_SETSEL, 3, 3);
    PickToken("<TU>");
    Click(IDC_CHKCONTEXTS0);
    ExpectMessageBox(IDYES);
    Click(IDOK);
  });
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Items[0].Argments, "-u <TU>");
  PageFixture page;
  // Wine's WshShell.Run reports an error although the program started.
  ExpectMessageBox(IDOK);
  const ScriptRun run = RunMenuScript("Record page", page, ProgramFolder() + "page\\");
  EXPECT_TRUE(run.completed) << run.error;
  // The run ended with cscript and all it started.
  const std::vector<RecordedStart> starts = RecordedStarts(recorder);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, "\"" + recorder + "\" -u " + page.topUrl);
}

}  // namespace
