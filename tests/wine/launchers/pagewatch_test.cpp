// Pagewatch under Wine: the input dialog driven from here, the Internet
// shortcut on disk, WWWC (a recorder named wwwc.exe) started on it.
#include <windows.h>

#include "common/sjis_chars.h"
#include "launchers/pagewatch/pagewatch_rules.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/input_dialog_driver.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

const char kPrompt[] = "WWWC．exe のパスを最初に一度だけ指定してください。";

class Pagewatch : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    program_ = CopyProgram("Pagewatch", ProgramFolder(), "Pagewatch.exe");
    wwwc_ = ProgramFolder() + "WWWC tools\\wwwc.exe";
    settings_ = ProgramFolder() + "Pagewatch.ini";
    ASSERT_FALSE(program_.empty());
    ASSERT_TRUE(InstallRecorder(wwwc_));
  }

  std::string Setting(const char* key) { return IniValue(settings_, "Pagewatch", key); }
  void KnowWwwc() { SetIniValue(settings_, "Pagewatch", "WwwcPath", wwwc_); }
  std::string Shortcut(const std::string& title) { return ProgramFolder() + title + ".url"; }
  static std::string ShortcutContent(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
  }

  // WWWC was started count times, the last time on shortcut and with the
  // path the user entered (asEntered, when not the recorder's own).
  void ExpectWwwcStartedOn(size_t count, const std::string& shortcut, const std::string& asEntered = "") {
    const auto starts = RecordedStarts(wwwc_);
    ASSERT_EQ(starts.size(), count);
    const std::string wwwc = asEntered.empty() ? wwwc_ : asEntered;
    EXPECT_EQ(starts.back().commandLine, "\"" + wwwc + "\" \"" + shortcut + "\"");
  }

  SeenMessageBox OnlyNewBox(size_t before) {
    const auto boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), before + 1);
    return boxes.empty() ? SeenMessageBox{} : boxes.back();
  }

  std::string program_, wwwc_, settings_;
};

}  // namespace

TEST_F(Pagewatch, FirstRunAsksForWwwcThenWritesTheShortcutAndStartsIt) {
  ChildProcess run(MenuCommandLine(program_, "http://example.com/page?id=1 Title: What? \"Quoted\" 表"));
  ASSERT_TRUE(run.started());
  HWND dialog = WaitForInputDialog(run.id(), "Pagewatch");
  ASSERT_NE(dialog, nullptr);

  // The product name as title, the prompt, one entry field, OK and キャンセル.
  const auto controls = DialogControls(dialog);
  int statics = 0, edits = 0;
  std::vector<std::string> buttons;
  for (const DialogControl& control : controls) {
    EXPECT_NE(control.id, 0xFFFF) << "that id would make the dialog look like a message box";
    if (control.className == "Static") {
      ++statics;
      EXPECT_EQ(control.text, kPrompt);
    } else if (control.className == "Edit") {
      ++edits;
      EXPECT_EQ(control.text, "");
    } else if (control.className == "Button") {
      buttons.push_back(control.text);
    }
  }
  EXPECT_EQ(statics, 1);
  EXPECT_EQ(edits, 1);
  EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "キャンセル"}));

  AnswerInputDialog(dialog, wwwc_);
  EXPECT_EQ(run.Wait(), 0);

  const std::string shortcut = Shortcut("Title： What？ ”Quoted” 表");
  EXPECT_EQ(ReadFileBytes(shortcut), ShortcutContent("http://example.com/page?id=1"));
  EXPECT_EQ(Setting("WwwcPath"), wwwc_);
  EXPECT_EQ(Setting("LastCreateShortcutPath"), shortcut);
  ExpectWwwcStartedOn(1, shortcut);
  EXPECT_TRUE(SeenMessageBoxes().empty());

  // Later runs do not ask again and replace the previous shortcut.
  ASSERT_EQ(RunLauncher(program_, "https://example.com/other Other"), 0);
  EXPECT_FALSE(FileExists(shortcut));
  EXPECT_EQ(ReadFileBytes(Shortcut("Other")), ShortcutContent("https://example.com/other"));
  EXPECT_EQ(Setting("LastCreateShortcutPath"), Shortcut("Other"));
  ExpectWwwcStartedOn(2, Shortcut("Other"));

  // The same title again: deleted first, then written anew.
  ASSERT_EQ(RunLauncher(program_, "http://example.com/again Other"), 0);
  EXPECT_EQ(ReadFileBytes(Shortcut("Other")), ShortcutContent("http://example.com/again"));
  ExpectWwwcStartedOn(3, Shortcut("Other"));
}

TEST_F(Pagewatch, CancelledOrEmptyDialogEndsWithoutWritingAnything) {
  for (const bool ok : {false, true}) {
    ChildProcess run(MenuCommandLine(program_, "http://example.com/ Page"));
    HWND dialog = WaitForInputDialog(run.id(), "Pagewatch");
    ASSERT_NE(dialog, nullptr);
    AnswerInputDialog(dialog, ok ? "" : wwwc_, ok);
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_FALSE(FileExists(Shortcut("Page")));
    EXPECT_FALSE(FileExists(settings_));
  }
  EXPECT_TRUE(RecordedStarts(wwwc_).empty());
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Pagewatch, WrongOrMissingFilesAreAskedForAgain) {
  const std::string other = ProgramFolder() + "WWWC tools\\readme.txt";
  ASSERT_TRUE(WriteFileBytes(other, "not wwwc"));
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "dir\\").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "dir\\wwwc.exe").c_str(), nullptr));
  // An existing file in upper case is accepted in the end.
  std::string upper = wwwc_;
  upper.replace(upper.size() - 8, 8, "WWWC.EXE");

  struct Entry {
    std::string text, message;
  } entries[] = {
      {other, "WWWC．exe が指定されていません。\r\nもう一度入力してください。"},
      {ProgramFolder() + "nowhere\\wwwc.exe", "ファイルが見つかりません。\r\nもう一度入力してください。"},
      {ProgramFolder() + "dir\\wwwc.exe", "ファイルが見つかりません。\r\nもう一度入力してください。"},
      {" " + wwwc_, "ファイルが見つかりません。\r\nもう一度入力してください。"},
      {upper, ""},
  };
  ChildProcess run(MenuCommandLine(program_, "http://example.com/ Page"));
  HWND dialog = nullptr;
  size_t boxes = 0;
  for (const Entry& entry : entries) {
    dialog = WaitForInputDialog(run.id(), "Pagewatch", dialog);
    ASSERT_NE(dialog, nullptr) << Utf8(entry.text);
    if (!entry.message.empty()) ExpectMessageBox(IDOK);
    AnswerInputDialog(dialog, entry.text);
    if (entry.message.empty()) break;
    ASSERT_TRUE(WaitForMessageBoxes(++boxes));
    const SeenMessageBox box = SeenMessageBoxes().back();
    EXPECT_EQ(box.title, "Pagewatch");
    EXPECT_EQ(box.text, entry.message) << Utf8(entry.text);
    EXPECT_EQ(box.icon, BoxIcon::Warning);
  }
  EXPECT_EQ(run.Wait(), 0);
  EXPECT_EQ(Setting("WwwcPath"), upper);
  ExpectWwwcStartedOn(1, Shortcut("Page"), upper);
}

TEST_F(Pagewatch, TitlesMadeIntoFileNames) {
  KnowWwwc();
  std::string longTitle;
  for (int i = 0; i < 150; ++i) longTitle += "長い";
  struct Case {
    std::string argumentText, url, title;
  } cases[] = {
      {"http://example.com/ ", "http://example.com/", "TitleNotFound"},
      {"http://example.com/a  two  blanks ", "http://example.com/a", " two  blanks "},
      {"http://example.com/b a\\b/c|d<e>f*g", "http://example.com/b", "a￥b／c｜d＜e＞f＊g"},
  };
  size_t starts = 0;
  for (const Case& c : cases) {
    ASSERT_EQ(RunLauncher(program_, c.argumentText), 0) << Utf8(c.argumentText);
    EXPECT_EQ(ReadFileBytes(Shortcut(c.title)), ShortcutContent(c.url)) << Utf8(c.title);
    ExpectWwwcStartedOn(++starts, Shortcut(c.title));
  }

  // A title too long for a path is cut to fit, at a character boundary.
  ASSERT_EQ(RunLauncher(program_, "http://example.com/long " + longTitle), 0);
  const std::string shortcut = Setting("LastCreateShortcutPath");
  EXPECT_EQ(SjisCharCount(shortcut), kMaxPathChars) << Utf8(shortcut);
  const std::string kept =
      shortcut.substr(ProgramFolder().size(), shortcut.size() - ProgramFolder().size() - 4);
  EXPECT_EQ(kept, longTitle.substr(0, kept.size()));
  EXPECT_EQ(ReadFileBytes(shortcut), ShortcutContent("http://example.com/long"));
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Pagewatch, LineBreaksInTheUrlDoNotReachTheShortcut) {
  KnowWwwc();
  ASSERT_EQ(RunLauncher(program_, "http://example.com/x\r\n[Other]\r\nURL=file:///C:/evil Title"), 0);
  EXPECT_EQ(ReadFileBytes(Shortcut("Title")),
            ShortcutContent("http://example.com/x[Other]URL=file:///C:/evil"));
}

TEST_F(Pagewatch, UsageForUnusableArgumentsAfterDeletingThePreviousShortcut) {
  KnowWwwc();
  const std::string texts[] = {"",
                               "HTTP://example.com/ Page",
                               "http://example.com/",
                               "http:/example.com/ Page",
                               "ftp://example.com/ Page",
                               "\thttp://example.com/ Page"};
  for (const std::string& text : texts) {
    const std::string previous = Shortcut("Previous");
    ASSERT_TRUE(WriteFileBytes(previous, ShortcutContent("http://old/")));
    SetIniValue(settings_, "Pagewatch", "LastCreateShortcutPath", previous);
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, text), 0);
    const SeenMessageBox box = OnlyNewBox(before);
    EXPECT_EQ(box.title, "Pagewatch");
    EXPECT_EQ(box.text, ExpectedUsage("Pagewatch", kPagewatchUsageTail)) << Utf8(text);
    EXPECT_EQ(box.icon, BoxIcon::Information);
    EXPECT_FALSE(FileExists(previous)) << Utf8(text);
    EXPECT_EQ(Setting("LastCreateShortcutPath"), previous);
  }
  EXPECT_TRUE(RecordedStarts(wwwc_).empty());
}

TEST_F(Pagewatch, OnlyItsOwnShortcutsAreDeleted) {
  KnowWwwc();
  const std::string folder = ProgramFolder();
  ASSERT_TRUE(CreateDirectoryA((folder + "sub").c_str(), nullptr));
  const std::string others[] = {folder + "sub\\elsewhere.url", folder + "precious.txt",
                                folder + "Pagewatch.exe", folder + "sub\\..\\..\\outside.url"};
  ASSERT_TRUE(WriteFileBytes(folder + "sub\\elsewhere.url", "x"));
  ASSERT_TRUE(WriteFileBytes(folder + "precious.txt", "x"));
  ASSERT_TRUE(WriteFileBytes(folder + "..\\outside.url", "x"));
  for (const std::string& other : others) {
    SetIniValue(settings_, "Pagewatch", "LastCreateShortcutPath", other);
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, ""), 0);
    EXPECT_TRUE(FileExists(other)) << Utf8(other);
  }
  DeleteFileA((folder + "..\\outside.url").c_str());
}

TEST_F(Pagewatch, WwwcThatCannotStartIsReportedAndTheShortcutStillRecorded) {
  const std::string broken = ProgramFolder() + "broken\\wwwc.exe";
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "broken").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(broken, "no program"));
  SetIniValue(settings_, "Pagewatch", "WwwcPath", broken);
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, "http://example.com/ Page"), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Pagewatch");
  EXPECT_EQ(boxes[0].text, "ＷＷＣの起動に失敗しました。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_TRUE(FileExists(Shortcut("Page")));
  EXPECT_EQ(Setting("LastCreateShortcutPath"), Shortcut("Page"));

  KnowWwwc();
  ASSERT_EQ(RunLauncher(program_, "http://example.com/ Next"), 0);
  EXPECT_FALSE(FileExists(Shortcut("Page")));
  ExpectWwwcStartedOn(1, Shortcut("Next"));
}

TEST_F(Pagewatch, ShortcutThatCannotBeWrittenIsReported) {
  KnowWwwc();
  ASSERT_TRUE(CreateDirectoryA(Shortcut("Taken").c_str(), nullptr));  // a folder in the way
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, "http://example.com/ Taken"), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Pagewatch");
  EXPECT_EQ(boxes[0].text, "ＷＳＨを使用できる環境ではないかもしれません。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_TRUE(RecordedStarts(wwwc_).empty());
  EXPECT_EQ(Setting("LastCreateShortcutPath"), "");
}
