// Jotwell under Wine: lines appended to real files, the editor and the
// associated program started for real (a recorder stands in for both).
#include <windows.h>

#include "common/win_handles.h"
#include "launchers/jotwell/jotwell_options.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

constexpr char kAssociatedExtension[] = ".orbiskjw";
constexpr char kAssociatedProgId[] = "OrbiskTest.JotwellNotes";

class Jotwell : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    program_ = CopyProgram("Jotwell", ProgramFolder(), "Jotwell.exe");
    ASSERT_FALSE(program_.empty());
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kAssociatedExtension);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kAssociatedProgId);
    WineTest::TearDown();
  }

  // The one box the last run showed, which must be the only new one.
  SeenMessageBox OnlyNewBox(size_t before) {
    const auto boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), before + 1);
    return boxes.empty() ? SeenMessageBox{} : boxes.back();
  }

  // Opening files of kAssociatedExtension starts a recorder. (Wine's shell
  // reads associations from the classes root only, not from the user's
  // classes below HKEY_CURRENT_USER.)
  std::string AssociateRecorder() {
    const std::string recorder = CopyProgram("Recorder", ProgramFolder() + "assoc\\", "opener.exe");
    const std::string command = "\"" + recorder + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, kAssociatedExtension, REG_SZ, kAssociatedProgId, 0);
    RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kAssociatedProgId) + "\\shell\\open\\command").c_str(),
                 REG_SZ, command.c_str(), 0);
    return recorder;
  }

  std::string program_;
};

}  // namespace

TEST_F(Jotwell, AppendsOneAnsiLinePerRun) {
  const std::string file = ProgramFolder() + "notes.txt";
  ASSERT_EQ(RunLauncher(program_, "/sHello /o" + file), 0);
  EXPECT_EQ(ReadFileBytes(file), "Hello\r\n");
  ASSERT_EQ(RunLauncher(program_, "/sHello /o" + file), 0);
  EXPECT_EQ(ReadFileBytes(file), "Hello\r\nHello\r\n");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, OptionsInAnyOrderAndCaseWithTheirTexts) {
  const std::string folder = ProgramFolder();
  ASSERT_TRUE(CreateDirectoryA((folder + "with blank\\").c_str(), nullptr));
  struct Case {
    std::string argumentText, file, line;
  } cases[] = {
      {"/sHello /o" + folder + "a.txt", "a.txt", "Hello"},
      {"/O" + folder + "b.txt /SUpper", "b.txt", "Upper"},
      {"/o" + folder + "c.txt   /s  blanks kept  ", "c.txt", "  blanks kept  "},
      {"/sTwo blanks  /o" + folder + "d.txt", "d.txt", "Two blanks "},
      {"/s\"quoted\" \"text\" /o" + folder + "e.txt", "e.txt", "\"quoted\" \"text\""},
      {"/stab\there\r\nnext line /o" + folder + "f.txt", "f.txt", "tab\there\r\nnext line"},
      {"/sページのタイトル http://example.jp/表 /o" + folder + "g.txt", "g.txt",
       "ページのタイトル http://example.jp/表"},
      {"/s日本語 /o\"" + folder + "with blank\\h i.txt\"", "with blank\\h i.txt", "日本語"},
      {"/sa /x ignored /o" + folder + "j.txt", "j.txt", "a"},
      {"/o" + folder + "k表.txt /s表", "k表.txt", "表"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(RunLauncher(program_, c.argumentText), 0) << Utf8(c.argumentText);
    EXPECT_EQ(ReadFileBytes(folder + c.file), c.line + "\r\n") << Utf8(c.argumentText);
  }
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, RelativeFileIsTakenFromTheWorkingFolder) {
  const std::string work = ProgramFolder() + "work\\";
  ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
  ASSERT_EQ(RunLauncher(program_, "/srelative /orel.txt", work), 0);
  EXPECT_EQ(ReadFileBytes(work + "rel.txt"), "relative\r\n");
}

TEST_F(Jotwell, UsageForUnusableArguments) {
  const std::string file = ProgramFolder() + "never.txt";
  const std::string texts[] = {"",
                               "/sHello",
                               "/s /o" + file,
                               "/sHello /o  ",
                               "sHello /o" + file,
                               "\t/sHello /o" + file,
                               "/xHello /y" + file};
  for (const std::string& text : texts) {
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, text), 0);
    const SeenMessageBox box = OnlyNewBox(before);
    EXPECT_EQ(box.title, "Jotwell");
    EXPECT_EQ(box.text, ExpectedUsage("Jotwell", kJotwellUsageTail)) << Utf8(text);
    EXPECT_EQ(box.icon, BoxIcon::Information);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(FileExists(file));
  }
}

TEST_F(Jotwell, FileThatCannotBeWrittenGivesTheCreateFailure) {
  const std::string folder = ProgramFolder();
  ASSERT_TRUE(CreateDirectoryA((folder + "adir").c_str(), nullptr));
  for (const std::string& path : {folder + "missing\\n.txt", folder + "adir", std::string("\"")}) {
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, "/sx /o" + path + " /e"), 0);
    const SeenMessageBox box = OnlyNewBox(before);
    EXPECT_EQ(box.title, "Jotwell");
    EXPECT_EQ(box.text, "テキストファイルの作成に失敗しました。") << Utf8(path);
    EXPECT_EQ(box.icon, BoxIcon::Stop);
  }
}

TEST_F(Jotwell, EditorStartedWithTheQuotedFile) {
  const std::string folder = ProgramFolder();
  const std::string editor = CopyProgram("Recorder", folder + "my tools\\", "editor.exe");
  const std::string file = folder + "notes.txt";

  // Bare paths are quoted; quoted ones keep their quotes and get no others.
  ASSERT_EQ(RunLauncher(program_, "/sone /o" + file + " /E" + editor), 0);
  ASSERT_EQ(RunLauncher(program_, "/e\"" + editor + "\" /stwo /o\"" + file + "\""), 0);
  const auto starts = WaitForRecordedStarts(editor, 2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].commandLine, "\"" + editor + "\" \"" + file + "\"");
  EXPECT_EQ(starts[1].commandLine, "\"" + editor + "\" \"" + file + "\"");
  // The line is written before the editor starts.
  EXPECT_EQ(ReadFileBytes(file), "one\r\ntwo\r\n");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, EditorThatCannotStartIsReported) {
  const std::string folder = ProgramFolder();
  const std::string editor = folder + "broken.exe";
  ASSERT_TRUE(WriteFileBytes(editor, "this is no program"));
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, "/sline /o" + folder + "n.txt /e" + editor), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Jotwell");
  EXPECT_EQ(boxes[0].text, "テキストエディタの起動に失敗しました。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(ReadFileBytes(folder + "n.txt"), "line\r\n");
}

TEST_F(Jotwell, WithoutAUsableEditorTheAssociatedProgramOpensTheFile) {
  const std::string folder = ProgramFolder();
  const std::string opener = AssociateRecorder();
  ASSERT_FALSE(opener.empty());
  ASSERT_TRUE(CreateDirectoryA((folder + "folder.exe").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder + "readme.txt", "x"));
  const std::string file = folder + "notes" + kAssociatedExtension;
  const std::string editors[] = {"", folder + "gone.exe", folder + "folder.exe", folder + "readme.txt"};
  for (const std::string& editor : editors) {
    ASSERT_EQ(RunLauncher(program_, "/sx /o\"" + file + "\" /e" + editor), 0) << Utf8(editor);
  }
  const auto starts = WaitForRecordedStarts(opener, 4);
  ASSERT_EQ(starts.size(), 4u);
  for (const RecordedStart& start : starts) {
    // The shell got the path without its quotes and put it into %1.
    EXPECT_EQ(start.commandLine, "\"" + opener + "\" \"" + file + "\"");
  }
  EXPECT_EQ(ReadFileBytes(file), "x\r\nx\r\nx\r\nx\r\n");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, FileWithoutAssociationGivesTheOpenFailure) {
  const std::string file = ProgramFolder() + "notes.orbisknoassoc";
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, "/sx /o" + file + " /e"), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Jotwell");
  EXPECT_EQ(boxes[0].text, "テキストファイルのオープンに失敗しました。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(ReadFileBytes(file), "x\r\n");
}
