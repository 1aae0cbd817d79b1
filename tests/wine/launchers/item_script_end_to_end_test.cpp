// From a menu pick to the launcher's result: an item whose application is a
// launcher, its generated script run through the browser stand-in, the real
// launcher started by the script.
#include <windows.h>

#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/clipboard_text.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

// The item script's own failure message.
const std::string kStartFailed = "プログラムの起動に失敗しました。";

class ItemScriptToLauncher : public WineTest {
 protected:
  void AddItem(const std::string& name, const std::string& aplPath, const std::string& argments) {
    ASSERT_TRUE(WriteLauncherScript(name, aplPath, argments, 1, false));
    ASSERT_TRUE(RegisterMenuEntry(name, false, {true, true, true, true}));
  }

  // Runs the item's script over page; it returns once the script and the
  // launcher it started, which runs detached from it, have ended. Wine's WshShell.Run reports an error
  // even when the program did start, so the script's failure box follows
  // under Wine (not on Windows); it is answered here.
  void Pick(const std::string& name, const PageFixture& page) {
    ExpectMessageBox(IDOK);
    const ScriptRun run = RunMenuScript(name, page, ProgramFolder() + "page\\");
    EXPECT_TRUE(run.completed) << run.error;
    const auto boxes = SeenMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kStartFailed);
  }
};

}  // namespace

TEST_F(ItemScriptToLauncher, ClipsyLeavesTheSelectedTextOnTheClipboard) {
  const std::string clipsy = CopyProgram("Clipsy", ProgramFolder() + "launchers\\", "Clipsy.exe");
  AddItem("選択文字列をコピー", clipsy, "<ST>");
  PageFixture page;
  page.selectionText = "  選択された \"テキスト\"\tと 表 ";
  ClearClipboard();
  Pick("選択文字列をコピー", page);
  const std::wstring expected = ToWide("選択された \"テキスト\"\tと 表");  // the selection, trimmed
  EXPECT_EQ(ClipboardWideText(), expected) << Utf8(ToAnsi(ClipboardWideText()));
}

TEST_F(ItemScriptToLauncher, JotwellAppendsThePageTitleAndUrl) {
  const std::string jotwell = CopyProgram("Jotwell", ProgramFolder() + "launchers\\", "Jotwell.exe");
  const std::string notes = ProgramFolder() + "my notes\\links.txt";
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "my notes").c_str(), nullptr));
  AddItem("リンク帳に追記", jotwell, "/s<TT> <TU> /o\"" + notes + "\"");
  PageFixture page;
  page.topTitle = "ページの表題 \"Example\"";
  page.topUrl = "http://www.example.jp/index.html?a=1&b=2";
  Pick("リンク帳に追記", page);
  const std::string line = page.topTitle + " " + page.topUrl + "\r\n";
  EXPECT_EQ(ReadFileBytes(notes), line) << Utf8(ReadFileBytes(notes));
}
