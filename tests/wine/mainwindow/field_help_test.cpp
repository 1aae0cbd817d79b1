// What's This help: a right-button release over a control shows its topic in
// a pop-up beside it; the texts are there for every topic of both windows.
#include "mainwindow/field_help.h"

#include <windows.h>

#include <set>

#include "editdialog/edit_dialog_layout.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"

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
  const struct {
    int id;
    bool toWindow;
    int topic;
    const char* heading;
  } cases[] = {
      {IDC_LABEL1, true, 2, "登録済み項目一覧"},
      {IDC_LSTITEMS, false, 2, "登録済み項目一覧"},
      {IDC_BTNADD, false, 3, "追加"},
      {IDC_BTNEDIT, false, 4, "編集"},
      {IDC_BTNDEL, false, 5, "削除"},
      {IDC_BTNALLDEL, false, 6, "全削除"},
      {IDC_BTNRENAME, false, 26, "名称変更"},
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
  ShowFieldHelp(MouseButton::Left, Control(IDC_BTNDEL));
  ShowFieldHelp(MouseButton::Middle, Control(IDC_BTNADD));
  EXPECT_EQ(FieldHelpWindow(), nullptr);
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
  // The topics the controls of both windows carry, from the layouts the
  // windows themselves are built from; the edit dialog in both its forms.
  std::set<int> topics;
  for (const MainControl control : kMainControls) topics.insert(MainHelpTopic(control));
  for (const EditControl control : kEditControls) {
    for (const bool fixedString : {false, true}) topics.insert(EditHelpTopic(control, fixedString));
  }
  topics.erase(0);  // no topic
  ASSERT_FALSE(topics.empty());
  // Each has a text: a heading line, an empty line and the explanation; no
  // other topic number has one.
  for (int topic = -3; topic <= 31; ++topic) {
    const std::string text = HelpTopicText(topic);
    if (!topics.count(topic)) {
      EXPECT_EQ(text, "") << topic;
      continue;
    }
    const size_t blankLine = text.find("\r\n\r\n");
    ASSERT_NE(blankLine, std::string::npos) << topic << ": " << Utf8(text);
    EXPECT_GT(blankLine, 0u) << topic << ": " << Utf8(text);
    EXPECT_EQ(text.substr(0, blankLine).find_first_of("\r\n"), std::string::npos) << topic;
    EXPECT_GT(text.size(), blankLine + 4 + 20) << topic;
  }
}

}  // namespace
