// The list under the pointer: the hint box following the item, the tooltip
// for names too long to read, and files dropped on the list.
#include "mainwindow/list_pointer.h"

#include <windows.h>

#include <commctrl.h>

#include "catalogue/program_paths.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"

namespace {

class ListPointer : public MainWindowTest {
 protected:
  HWND List() const { return Control(IDC_LSTITEMS); }

  // Moves the pointer to the middle of line (or below the last line for -1).
  void PointAt(int line) {
    RECT item = {};
    if (line >= 0) {
      SendMessageA(List(), LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&item));
    } else {
      const int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
      const int height = static_cast<int>(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
      item = {0, count * height, 50, count * height + height};
    }
    SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(10, (item.top + item.bottom) / 2));
  }

  std::string Hint() const { return WindowTextOf(Control(IDC_TXTCOMMENT)); }

  std::string Tooltip() const {
    std::string text(4096, '\0');
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(List());
    tool.lpszText = text.data();
    SendMessageA(ListTooltip(), TTM_GETTEXTA, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(strlen(text.c_str()));
    return text;
  }

  int NameWidth(const std::string& name) const {
    const WindowDc dc(List());
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)));
    SIZE size;
    GetTextExtentPoint32A(dc.get(), name.c_str(), static_cast<int>(name.size()), &size);
    return size.cx;
  }

  // Drops the files on the list.
  void Drop(const std::vector<std::string>& paths) {
    SendMessageA(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
  }

  // No Add is on its way: Timer1, which alone turns a drop into one, is not
  // running (KillTimer finds none to end), and nothing is left queued.
  void ExpectNoAddPending() {
    EXPECT_FALSE(KillTimer(Window(), kTimer1)) << "the drop timer is still running";
    FlushMessages();
  }
};

TEST_F(ListPointer, HintFollowsTheItemUnderThePointer) {
  WriteCatalogue({LauncherItem("First", "one\r\ntwo lines"), LauncherItem("Second", ""),
                  LauncherItem("Third", "コメント")});
  ASSERT_TRUE(Open());
  const struct {
    int line;
    std::string hint;
  } steps[] = {{0, "one\r\ntwo lines"}, {2, "コメント"}, {1, ""}, {-1, kListNotice}, {2, "コメント"}};
  for (const auto& step : steps) {
    PointAt(step.line);
    EXPECT_EQ(Hint(), step.hint) << step.line;
  }
  // Onto the window's background: the notice again.
  SendMessageA(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 5));
  EXPECT_EQ(Hint(), kListNotice);
}

TEST_F(ListPointer, EmptyListShowsTheNotice) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  SendMessageA(List(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(Hint(), kListNotice);
  EXPECT_EQ(Tooltip(), "");
}

TEST_F(ListPointer, TooltipOnlyForNamesThatDoNotFit) {
  const std::string shortName = "短い名前";
  const std::string longName = "とても長い項目名の例としてリストの幅に収まらない名前を付けておく";
  WriteCatalogue({LauncherItem(shortName), LauncherItem(longName)});
  ASSERT_TRUE(Open());
  RECT list;
  GetWindowRect(List(), &list);
  const int width = list.right - list.left;
  ASSERT_GT(NameWidth(longName), width) << "the long name must be wider than the list";
  ASSERT_LT(NameWidth(shortName) * 1.03, width);

  const int longLine = ListLines()[0] == longName ? 0 : 1;
  const int shortLine = 1 - longLine;
  PointAt(longLine);
  EXPECT_EQ(Tooltip(), longName);
  PointAt(shortLine);
  EXPECT_EQ(Tooltip(), "");
  PointAt(longLine);
  EXPECT_EQ(Tooltip(), longName);
  PointAt(-1);
  EXPECT_EQ(Tooltip(), "");
}

TEST_F(ListPointer, ADroppedProgramOpensTheAddDialogAfterTheTimer) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  const std::string lower = ProgramFolder() + "viewer.exe";
  const std::string upper = ProgramFolder() + "VIEWER2.EXE";
  ASSERT_TRUE(WriteFileBytes(lower, "MZ"));
  ASSERT_TRUE(WriteFileBytes(upper, "MZ"));
  EditDialogWatcher watcher(Window());
  for (const std::string& path : {lower, upper}) {
    SCOPED_TRACE(path);
    const size_t before = watcher.Opened().size();
    const DWORD droppedAt = GetTickCount();
    Drop({path});
    EXPECT_EQ(PendingDrop(), path);
    EXPECT_EQ(watcher.Opened().size(), before) << "the dialog must not open inside the drop";
    ASSERT_TRUE(watcher.WaitForOpened(before + 1, 3000));
    ASSERT_EQ(watcher.Opened().size(), before + 1);
    const OpenedDialog& opened = watcher.Opened().back();
    EXPECT_EQ(opened.mode, EditModes::Add);
    EXPECT_EQ(opened.droppedPath, path);
    EXPECT_GE(opened.at - droppedAt, 180u);
    // The tick that opened the dialog clears the path once it has closed.
    FlushMessages();
    EXPECT_EQ(PendingDrop(), "");
  }
  // One dialog per drop: the timer is off afterwards.
  ExpectNoAddPending();
  EXPECT_EQ(watcher.Opened().size(), 2u);
}

TEST_F(ListPointer, OnlyTheFirstFileOfADropCounts) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  const std::string a = ProgramFolder() + "a.exe", b = ProgramFolder() + "b.exe",
                    t = ProgramFolder() + "t.txt";
  for (const std::string& path : {a, b, t}) ASSERT_TRUE(WriteFileBytes(path, "MZ"));
  EditDialogWatcher watcher(Window());
  Drop({a, b});
  ASSERT_TRUE(watcher.WaitForOpened(1, 3000));
  ExpectNoAddPending();
  ASSERT_EQ(watcher.Opened().size(), 1u);
  EXPECT_EQ(watcher.Opened()[0].droppedPath, a);
  Drop({t, b});
  ExpectNoAddPending();
  EXPECT_EQ(watcher.Opened().size(), 1u);
  EXPECT_EQ(PendingDrop(), "");
}

TEST_F(ListPointer, RefusedDropsDoNothingAndAddStaysEmpty) {
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  const std::string text = ProgramFolder() + "notes.txt";
  const std::string folder = ProgramFolder() + "folder.exe";
  const std::string shortcut = ProgramFolder() + "viewer.lnk";
  // A deleted file in an old-style recycle bin at the root of drive C.
  const std::string bin = "C:\\RECYCLER\\";
  const std::string binned = bin + "Dc1.exe";
  ASSERT_TRUE(WriteFileBytes(text, "text"));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(shortcut, "L"));
  CreateDirectoryA(bin.c_str(), nullptr);
  ASSERT_TRUE(WriteFileBytes(binned, "MZ"));
  EditDialogWatcher watcher(Window());
  for (const std::string& path : {text, folder, shortcut, binned, ProgramFolder() + "missing.exe"}) {
    Drop({path});
    EXPECT_EQ(PendingDrop(), "") << path;
  }
  ExpectNoAddPending();
  EXPECT_TRUE(watcher.Opened().empty());
  SendMessageA(Control(IDC_BTNADD), BM_CLICK, 0, 0);
  ASSERT_EQ(watcher.Opened().size(), 1u);
  EXPECT_EQ(watcher.Opened()[0].droppedPath, "");
  DeleteTree(bin);
}

}  // namespace
