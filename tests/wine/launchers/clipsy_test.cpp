// Clipsy under Wine: what lands on the clipboard, read back from this
// process, and its two message boxes.
#include <windows.h>

#include "common/win_handles.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/clipboard_text.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

class Clipsy : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    program_ = CopyProgram("Clipsy", ProgramFolder(), "Clipsy.exe");
    ASSERT_FALSE(program_.empty());
  }
  std::string program_;
};

void PutOnClipboard(const std::wstring& text, UINT extraFormat) {
  ASSERT_TRUE(OpenClipboardPatiently());
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  if (extraFormat) {
    HGLOBAL extra = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(extra), "abc", 4);
    GlobalUnlock(extra);
    SetClipboardData(extraFormat, extra);
  }
  CloseClipboard();
}

// A window of this process that owns the clipboard before Clipsy runs.
// EmptyClipboard sends the owner WM_DESTROYCLIPBOARD while the caller holds
// the clipboard open, and it hands ownership to the window that opened it:
// the window GetOpenClipboardWindow names at that moment.
struct EmptiedBy {
  bool seen = false;
  HWND window = nullptr;  // that held the clipboard open
  DWORD processId = 0;
  bool visible = false;
  HWND parent = nullptr;
};
EmptiedBy g_emptiedBy;

LRESULT CALLBACK PreviousOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROYCLIPBOARD) {
    g_emptiedBy.seen = true;
    g_emptiedBy.window = GetOpenClipboardWindow();
    if (g_emptiedBy.window) {
      GetWindowThreadProcessId(g_emptiedBy.window, &g_emptiedBy.processId);
      g_emptiedBy.visible = IsWindowVisible(g_emptiedBy.window) != FALSE;
      g_emptiedBy.parent = GetAncestor(g_emptiedBy.window, GA_PARENT);
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool ClipboardHas(UINT format) {
  if (!OpenClipboardPatiently()) return false;
  const bool has = IsClipboardFormatAvailable(format);
  CloseClipboard();
  return has;
}

}  // namespace

TEST_F(Clipsy, CopiesTheWholeArgumentTextCharacterForCharacter) {
  const UINT privateFormat = RegisterClipboardFormatA("OrbiskTestPrivate");
  struct Case {
    std::string argumentText, copied;
  } cases[] = {
      {"plain", "plain"},
      {"\"C:\\Program Files\\quoted\"", "\"C:\\Program Files\\quoted\""},
      // The blanks right after the program path separate it from the text.
      {"  trailing blanks stay  ", "trailing blanks stay  "},
      {"tab\there\r\nsecond line\r\nthird\r\n", "tab\there\r\nsecond line\r\nthird\r\n"},
      {"\t\tleading tabs", "\t\tleading tabs"},
      {"表示 日本語のテキスト「ページ」", "表示 日本語のテキスト「ページ」"},
      {"\"", "\""},
      {"mixed \"q\" \t \x95\x5C\r\n end ", "mixed \"q\" \t \x95\x5C\r\n end "},
  };
  for (const Case& c : cases) {
    PutOnClipboard(L"earlier content", privateFormat);
    ASSERT_EQ(RunLauncher(program_, c.argumentText), 0) << Utf8(c.argumentText);
    EXPECT_EQ(ClipboardAnsiText(), c.copied);
    EXPECT_EQ(ClipboardWideText(), ToWide(c.copied)) << Utf8(c.copied);
    EXPECT_FALSE(ClipboardHas(privateFormat)) << "earlier formats must be gone";
  }
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Clipsy, EmptyArgumentWarnsAndLeavesTheClipboardAlone) {
  // With and without the blank a script puts after the path.
  for (const std::string& commandLine : {MenuCommandLine(program_, ""), "\"" + program_ + "\""}) {
    PutOnClipboard(L"keep me", 0);
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunCommandLine(commandLine), 0);
    const auto boxes = SeenMessageBoxes();
    ASSERT_EQ(boxes.size(), before + 1);
    EXPECT_EQ(boxes.back().title, "Clipsy");
    EXPECT_EQ(boxes.back().text, "パラメータが空です。");
    EXPECT_EQ(boxes.back().icon, BoxIcon::Warning);
    EXPECT_EQ(boxes.back().buttons, std::vector<int>{IDOK});
    EXPECT_EQ(ClipboardWideText(), L"keep me");
  }
}

TEST_F(Clipsy, ClipboardHeldByAnotherProcessGivesTheErrorBox) {
  PutOnClipboard(L"held", 0);
  HWND holder = CreateWindowA("STATIC", "holder", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(OpenClipboard(holder));
  ExpectMessageBox(IDOK);
  const int exitCode = RunLauncher(program_, "new text");
  CloseClipboard();
  DestroyWindow(holder);
  EXPECT_EQ(exitCode, 0);

  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "エラー");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
  // The platform's description, then "(number)" with nothing between.
  const std::string& text = boxes[0].text;
  const auto open = text.rfind('(');
  ASSERT_NE(open, std::string::npos) << Utf8(text);
  EXPECT_GT(open, 0u) << "a description comes first: " << Utf8(text);
  EXPECT_NE(text[open - 1], ' ');
  EXPECT_EQ(text.back(), ')');
  const std::string number = text.substr(open + 1, text.size() - open - 2);
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << Utf8(text);
  EXPECT_NE(number, "0");
  EXPECT_EQ(ClipboardWideText(), L"held");
}

TEST_F(Clipsy, OwnsTheClipboardWithAHiddenWindowOfItsOwn) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PreviousOwnerProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OrbiskTestPreviousOwner";
  RegisterClassA(&windowClass);
  UniqueWindow previousOwner(CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 1, 1, nullptr, nullptr,
                                           windowClass.hInstance, nullptr));
  ASSERT_TRUE(previousOwner);
  ASSERT_TRUE(OpenClipboardPatiently(previousOwner.get()));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 7);
  memcpy(GlobalLock(memory), "before", 7);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  ASSERT_EQ(GetClipboardOwner(), previousOwner.get());

  g_emptiedBy = {};
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  UniqueProcessInformation process;
  std::string commandLine = MenuCommandLine(program_, "owned text");
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, process.put()));
  // Clipsy waits in EmptyClipboard until this thread has answered.
  const HANDLE clipsy = process.process();
  const DWORD start = GetTickCount();
  while (MsgWaitForMultipleObjects(1, &clipsy, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
    PumpMessages(0);
    ASSERT_LT(GetTickCount() - start, 30000u);
  }

  ASSERT_TRUE(g_emptiedBy.seen);
  EXPECT_NE(g_emptiedBy.window, nullptr) << "the clipboard was opened without an owner";
  EXPECT_EQ(g_emptiedBy.processId, process.processId());
  EXPECT_FALSE(g_emptiedBy.visible);
  EXPECT_NE(g_emptiedBy.parent, GetDesktopWindow()) << "a message-only window";
  EXPECT_EQ(ClipboardAnsiText(), "owned text");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}
