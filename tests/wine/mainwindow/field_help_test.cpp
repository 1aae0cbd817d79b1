// What's This help: a right-button release over a control shows its topic in
// a pop-up beside it; the texts are there for every topic of both windows.
#include "ui/field_help.h"

#include <windows.h>

#include <set>

#include "editdialog/edit_dialog_rules.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"
#include "ui/help_texts.h"

namespace {

class FieldHelp : public MainWindowTest {
 protected:
  // The right button released over the middle of a control: sent to the
  // control itself, or to the window when the control lets the mouse through
  // (a label, a disabled button), as the system routes it.
  void RightClick(int id, bool toWindow) {
    RECT rect;
    GetWindowRect(Control(id), &rect);
    POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    HWND target = toWindow ? Window() : Control(id);
    ScreenToClient(target, &at);
    SendMessageA(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageA(target, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
};

TEST_F(FieldHelp, EachControlShowsItsTopicBesideIt) {
  WriteCatalogue({LauncherItem("One")});
  ASSERT_TRUE(Open());
  // The list's own right click opens its menu instead, whose help entry
  // shows its topic (item_exchange_test.cpp); its label shows it here.
  const struct {
    int id;
    bool toWindow;
    int topic;
    const char* heading;
  } cases[] = {
      {IDC_LABEL1, true, 2, "登録済み項目一覧"}, {IDC_BTNADD, false, 3, "追加"},
      {IDC_BTNEDIT, false, 4, "編集"},           {IDC_BTNDEL, false, 5, "削除"},
      {IDC_BTNALLDEL, false, 6, "全削除"},       {IDC_BTNRENAME, false, 26, "名称変更"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    RightClick(c.id, c.toWindow);
    HWND popup = FieldHelpWindow();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(FieldHelpTopic(), c.topic);
    EXPECT_EQ(HelpTopicText(c.topic).rfind(std::string(c.heading) + "\r\n", 0), 0u);
    RECT control, shown;
    GetWindowRect(Control(c.id), &control);
    GetWindowRect(popup, &shown);
    const bool beside = shown.left == control.right + 4 || shown.right == control.left - 4;
    EXPECT_TRUE(beside) << shown.left << " " << control.right;
    EXPECT_EQ(shown.top, control.top);
    CloseFieldHelp();
    EXPECT_EQ(FieldHelpWindow(), nullptr);
  }
  // Nothing was deleted or opened by the right clicks.
  EXPECT_EQ(ItemCount(), 1);
}

TEST_F(FieldHelp, OtherButtonsKeysAndDisabledControlsShowNothing) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  // Only a right click asks for help: the left and the middle button pressed
  // and released over controls that have a topic.
  const struct {
    int id;
    UINT down, up;
  } clicks[] = {{IDC_LABEL1, WM_LBUTTONDOWN, WM_LBUTTONUP},
                {IDC_LSTITEMS, WM_LBUTTONDOWN, WM_LBUTTONUP},
                {IDC_BTNDEL, WM_MBUTTONDOWN, WM_MBUTTONUP},
                {IDC_BTNADD, WM_MBUTTONDOWN, WM_MBUTTONUP}};
  for (const auto& click : clicks) {
    const WPARAM button = click.down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_MBUTTON;
    SendMessageA(Control(click.id), click.down, button, MAKELPARAM(4, 4));
    SendMessageA(Control(click.id), click.up, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(FieldHelpWindow(), nullptr) << click.id;
  }
  // The menu key: no mouse position.
  SendMessageA(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(IDC_BTNADD)), MAKELPARAM(-1, -1));
  EXPECT_EQ(FieldHelpWindow(), nullptr);
  // Edit is disabled with an empty list; the click reaches the window.
  ASSERT_FALSE(IsWindowEnabled(Control(IDC_BTNEDIT)));
  RightClick(IDC_BTNEDIT, true);
  EXPECT_EQ(FieldHelpWindow(), nullptr);
  // The window's background.
  SendMessageA(Window(), WM_RBUTTONUP, 0, MAKELPARAM(300, 5));
  EXPECT_EQ(FieldHelpWindow(), nullptr);
}

TEST_F(FieldHelp, TheHintBoxOpensItsOwnMenuInsteadOfHelp) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  static bool menuShown = false;
  menuShown = false;
  // The edit control's menu runs its own loop: a timer served by that loop
  // notes the menu and closes it.
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) menuShown = true;
    EndMenu();
  });
  RightClick(IDC_TXTCOMMENT, false);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(FieldHelpWindow(), nullptr);
  EXPECT_EQ(GetWindowContextHelpId(Control(IDC_TXTCOMMENT)), 7u);
}

TEST_F(FieldHelp, APopupClosesOnAKeyOrAClick) {
  WriteCatalogue({LauncherItem("One")});
  ASSERT_TRUE(Open());
  for (const UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN}) {
    RightClick(IDC_BTNADD, false);
    ASSERT_TRUE(FieldHelpWindow());
    SendMessageA(FieldHelpWindow(), message, message == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
    EXPECT_EQ(FieldHelpWindow(), nullptr);
  }
  // A second right click replaces the pop-up.
  RightClick(IDC_BTNADD, false);
  HWND first = FieldHelpWindow();
  RightClick(IDC_BTNDEL, false);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(FieldHelpTopic(), 5);
}

TEST_F(FieldHelp, EveryTopicOfBothWindowsHasItsText) {
  const struct {
    int topic;
    const char* heading;
  } topics[] = {
      {2, "登録済み項目一覧"},
      {3, "追加"},
      {4, "編集"},
      {5, "削除"},
      {6, "全削除"},
      {7, "コメントと注意事項"},
      {8, "項目名"},
      {9, "アプリケーションのパス"},
      {10, "アプリケーションの選択"},
      {11, "パラメータ"},
      {12, "置換パラメータの選択"},
      {13, "コメント"},
      {14, "表示方法"},
      {15, "通常時"},
      {16, "画像上"},
      {17, "リンク上"},
      {18, "テキスト選択時"},
      {19, "OK"},
      {20, "Cancel"},
      {21, "ウィンドウスタイル"},
      {22, "コマンドライン確認"},
      {23, "スクリプトの表示"},
      {24, "定型文字列を登録する"},
      {25, "定型文字列"},
      {26, "名称変更"},
      {27, "置換パラメータの選択"},
  };
  for (const auto& t : topics) {
    const std::string text = HelpTopicText(t.topic);
    EXPECT_EQ(text.rfind(std::string(t.heading) + "\r\n\r\n", 0), 0u) << t.topic << ": " << Utf8(text);
    EXPECT_GT(text.size(), strlen(t.heading) + 20) << t.topic;
  }
  for (const int none : {0, 1, 28, -3}) EXPECT_EQ(HelpTopicText(none), "") << none;
  // Whole, as the string table holds them: both are made from ui/help_texts.h.
  ASSERT_EQ(std::size(kHelpTexts), std::size(topics));
  for (size_t i = 0; i < std::size(topics); ++i) {
    EXPECT_EQ(kHelpTexts[i].topic, topics[i].topic);
    EXPECT_EQ(HelpTopicText(kHelpTexts[i].topic), kHelpTexts[i].text) << kHelpTexts[i].topic;
  }
  // Exactly the topics the controls of both windows carry, read from the
  // layouts the windows are built from; the edit dialog in both its forms.
  std::set<int> carried, listed;
  for (std::size_t i = 0; i < kMainControlCount; ++i)
    carried.insert(MainHelpTopic(static_cast<MainControl>(i)));
  for (const EditControl control : kEditControls) {
    for (const bool fixedString : {false, true}) carried.insert(EditHelpTopic(control, fixedString));
  }
  carried.erase(0);  // no topic
  for (const auto& t : topics) listed.insert(t.topic);
  EXPECT_EQ(carried, listed);
}

}  // namespace
