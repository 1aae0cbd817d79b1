// Jotwell under Wine: lines appended to real files, the editor and the
// associated program started for real (a recorder stands in for both).
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "common/win_handles.h"
#include "launchers/common/launcher_text.h"
#include "launchers/jotwell/jotwell_options.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

constexpr char kAssociatedExtension[] = ".orbiskjw";
constexpr char kAssociatedProgId[] = "OrbiskTest.JotwellNotes";
constexpr char kCreateFailure[] = "テキストファイルの作成に失敗しました。";

// Every file and folder below folder, by its path relative to it.
void CollectBelow(const std::string& folder, const std::string& relative, std::set<std::string>& found) {
  WIN32_FIND_DATAA entry;
  const UniqueFind search(FindFirstFileA((folder + relative + "*").c_str(), &entry));
  if (!search) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    found.insert(relative + name);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CollectBelow(folder, relative + name + "\\", found);
  } while (FindNextFileA(search.get(), &entry));
}

std::set<std::string> EntriesBelow(const std::string& folder) {
  std::set<std::string> found;
  CollectBelow(folder, "", found);
  return found;
}

std::string Joined(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += Utf8(name) + "; ";
  return text;
}

// Sets an environment variable of this process, which the launchers it
// starts inherit, and puts the old value back at the end of the scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size > 0) {
      old_.assign(size, '\0');
      old_.resize(GetEnvironmentVariableA(name, old_.data(), size));
      hadOld_ = true;
    }
    SetEnvironmentVariableA(name, value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

 private:
  std::string name_, old_;
  bool hadOld_ = false;
};

// Wine serves \\host\share from the prefix's dosdevices\unc\host\share
// folder, so a UNC path can reach a real program in these tests. Made here,
// when missing, and removed by the caller.
std::string WineUncFolder(const std::string& host) {
  const DWORD size = GetEnvironmentVariableA("WINEPREFIX", nullptr, 0);
  if (size == 0) return {};
  std::string prefix(size, '\0');
  prefix.resize(GetEnvironmentVariableA("WINEPREFIX", prefix.data(), size));
  std::replace(prefix.begin(), prefix.end(), '/', '\\');
  const std::string unc = "Z:" + prefix + "\\dosdevices\\unc\\";
  CreateDirectoryA(unc.c_str(), nullptr);
  CreateDirectoryA((unc + host).c_str(), nullptr);
  return unc + host + "\\";
}

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
    const std::string recorder = ProgramFolder() + "assoc\\opener.exe";
    if (!InstallRecorder(recorder)) return {};
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
  const std::string editor = folder + "my tools\\editor.exe";
  ASSERT_TRUE(InstallRecorder(editor));
  const std::string file = folder + "notes.txt";

  // Bare paths are quoted; quoted ones keep their quotes and get no others.
  ASSERT_EQ(RunLauncher(program_, "/sone /o" + file + " /E" + editor), 0);
  ASSERT_EQ(RunLauncher(program_, "/e\"" + editor + "\" /stwo /o\"" + file + "\""), 0);
  const auto starts = RecordedStarts(editor);
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
  const auto starts = RecordedStarts(opener);
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

TEST_F(Jotwell, SelectionNamingAFileWindowsWouldRunWritesNothing) {
  const std::string folder = ProgramFolder();
  const std::string startup = folder + "Startup\\";
  ASSERT_TRUE(CreateDirectoryA(startup.c_str(), nullptr));
  // Each as a selection's text would name it (were the item's own /o given
  // as well, the second /o alone would refuse the run).
  const std::string targets[] = {
      startup + "x.bat",
      startup + "x.CmD",
      startup + "x.lnk",
      startup + "x.hta",
      startup + "x.ps1",
      // Windows drops trailing dots and blanks and resolves "." and "..".
      startup + "x.bat.",
      startup + "x.bat. .",
      "\"" + startup + "x.bat \"",
      startup + "x.bat\\.",
      startup + "notes.txt\\..\\x.bat",
      folder + "Startup/x.bat",
      "Startup\\x.bat",
      // Streams, of or with an executable name.
      startup + "x.txt:y.bat",
      startup + "x.bat::$DATA",
      startup + "x.bat:s",
      "\"" + startup + "x.bat\"",
  };
  const auto before = EntriesBelow(folder);
  for (const std::string& target : targets) {
    const size_t boxes = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    ASSERT_EQ(RunLauncher(program_, "/sselected words /o" + target + " /e", folder), 0) << Utf8(target);
    const SeenMessageBox box = OnlyNewBox(boxes);
    EXPECT_EQ(box.text, kCreateFailure) << Utf8(target);
    EXPECT_EQ(box.icon, BoxIcon::Stop);
    EXPECT_EQ(EntriesBelow(folder), before) << Utf8(target) << ": " << Joined(EntriesBelow(folder));
  }
}

TEST_F(Jotwell, EditorThatRunsTheFileOrRepeatedOptionsGetTheUsage) {
  const std::string folder = ProgramFolder();
  const std::string tools = folder + "tools\\";
  const std::string editor = tools + "editor.exe";
  const std::string cmd = tools + "cmd.exe";
  const std::string python = tools + "python3.12.exe";
  const std::string powershell = tools + "Windows PowerShell\\powershell.exe";
  for (const std::string& program : {editor, cmd, python, powershell}) ASSERT_TRUE(InstallRecorder(program));
  // The short name hides "powershell" where the file system keeps short names.
  char shortName[MAX_PATH] = {};
  const DWORD shortSize = GetShortPathNameA(powershell.c_str(), shortName, sizeof shortName);
  const std::string shortPowershell(shortName, shortSize < sizeof shortName ? shortSize : 0);
  const std::string file = folder + "notes.txt";
  const std::string other = folder + "other.txt";

  struct Case {
    std::string argumentText;
    std::string program;  // the recorder that must not start
  } cases[] = {
      // As a selection would slip it in after the item's own options.
      {"/sselected /o" + file + " /e" + cmd, cmd},
      {"/sselected /o" + file + " /e\"" + python + "\"", python},
      {"/sselected /o" + file + " /e" + tools + "CMD.EXE.", cmd},
      {"/sselected /o" + file + " /e" + powershell, powershell},
      {"/sx /e /o" + file + " /e" + editor, editor},
      {"/sx /o" + file + " /e" + editor + " /e" + editor, editor},
      {"/sx /o" + file + " /o" + other + " /e" + editor, editor},
      {"/sx /o" + file + " /o" + file, editor},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  if (!shortPowershell.empty() && shortPowershell != powershell) {
    all.push_back({"/sselected /o" + file + " /e" + shortPowershell, powershell});
  }
  const auto before = EntriesBelow(folder);
  for (const Case& c : all) {
    const size_t boxes = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    ASSERT_EQ(RunLauncher(program_, c.argumentText), 0) << Utf8(c.argumentText);
    const SeenMessageBox box = OnlyNewBox(boxes);
    EXPECT_EQ(box.text, ExpectedUsage("Jotwell", kJotwellUsageTail)) << Utf8(c.argumentText);
    EXPECT_EQ(box.icon, BoxIcon::Information);
    EXPECT_TRUE(RecordedStarts(c.program).empty()) << Utf8(c.argumentText);
    EXPECT_EQ(EntriesBelow(folder), before) << Utf8(c.argumentText) << ": " << Joined(EntriesBelow(folder));
  }
  // An editor of its own is still started; a later /s still overwrites.
  ASSERT_EQ(RunLauncher(program_, "/sone /stwo /o" + file + " /e" + editor), 0);
  EXPECT_EQ(RecordedStarts(editor).size(), 1u);
  EXPECT_EQ(ReadFileBytes(file), "two\r\n");
}

TEST_F(Jotwell, ExecutableTypesIncludeThoseOfPathExt) {
  const std::string folder = ProgramFolder();
  struct Case {
    const char* pathext;  // nullptr: unset
    std::string name;
    bool written;
  } cases[] = {
      {nullptr, "a.orbiskrun", true},
      {".COM;.EXE;.ORBISKRUN", "b.orbiskrun", false},
      {".com;.exe;.orbiskrun", "c.OrbiskRun", false},
      // The system's own types stay refused whatever the variable says.
      {".COM;.EXE;.ORBISKRUN", "d.bat", false},
      {nullptr, "e.cmd", false},
      {".ORBISKRUN", "f.txt", true},
  };
  for (const Case& c : cases) {
    ScopedEnvironment pathext("PATHEXT", c.pathext);
    const size_t boxes = SeenMessageBoxes().size();
    if (!c.written) ExpectMessageBox(IDOK);
    ASSERT_EQ(RunLauncher(program_, "/sline /o" + folder + c.name), 0) << c.name;
    EXPECT_EQ(ReadFileBytes(folder + c.name), c.written ? "line\r\n" : "") << c.name;
    EXPECT_EQ(FileExists(folder + c.name), c.written) << c.name;
    const auto seen = SeenMessageBoxes();
    ASSERT_EQ(seen.size(), boxes + (c.written ? 0 : 1)) << c.name;
    if (!c.written) {
      EXPECT_EQ(seen.back().text, kCreateFailure);
    }
  }
}

TEST_F(Jotwell, EditorOnAShareOrWithQuotesOrNoProgramIsNotStarted) {
  const std::string folder = ProgramFolder();
  const std::string opener = AssociateRecorder();
  ASSERT_FALSE(opener.empty());
  const std::string file = folder + "notes" + kAssociatedExtension;

  // Baits: a recorder on a share, one in a local folder, a batch file and a
  // program stored under a stream's name, all with ".exe" in their paths.
  const std::string host = "orbisktest-jotwell";
  const std::string uncFolder = WineUncFolder(host);
  ASSERT_FALSE(uncFolder.empty());
  const std::string shared = uncFolder + "share\\editor.exe";
  ASSERT_TRUE(InstallRecorder(shared)) << Utf8(uncFolder);
  const std::string tools = folder + "tools\\";
  const std::string local = tools + "editor.exe";
  ASSERT_TRUE(InstallRecorder(local));
  const std::string streamed = tools + "notes.txt:editor.exe";
  ASSERT_TRUE(InstallRecorder(streamed));
  const std::string batch = tools + "run.exe.bat";
  const std::string batchLog = tools + "batch.log";
  ASSERT_TRUE(WriteFileBytes(batch, "@echo ran>>\"" + batchLog + "\"\r\n"));
  const auto recorderRuns = [](const std::string& recorder) {
    return [recorder] { return RecordedStarts(recorder).size(); };
  };
  const auto batchRuns = [&batchLog] {
    const std::string log = ReadFileBytes(batchLog);
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
  };

  struct Case {
    std::string editor;
    std::function<size_t()> runs;  // how often the bait was started
    bool reachable;                // the bait starts when named so directly
  } cases[] = {
      {"\\\\" + host + "\\share\\editor.exe", recorderRuns(shared), true},
      {"//" + host + "/share/editor.exe", recorderRuns(shared), true},
      {"\\\\?\\UNC\\" + host + "\\share\\editor.exe", recorderRuns(shared), true},
      {"\"\\\\" + host + "\\share\\editor.exe\"", recorderRuns(shared), true},
      {"\"" + local + "\" \"" + local + "\"", recorderRuns(local), false},
      {local + "\"", recorderRuns(local), false},
      {"\"" + local + "\"\"", recorderRuns(local), false},
      {batch, batchRuns, true},
      {streamed, recorderRuns(streamed), true},
  };
  size_t opened = 0;
  for (const Case& c : cases) {
    if (c.reachable) {
      // Without Jotwell's rules this name would start the bait.
      const size_t runs = c.runs();
      ASSERT_EQ(RunCommandLine(QuoteUnlessEnclosed(c.editor) + " control"), 0) << Utf8(c.editor);
      ASSERT_EQ(c.runs(), runs + 1) << "the bait does not start: " << Utf8(c.editor);
    }
    const size_t runs = c.runs();
    ASSERT_EQ(RunLauncher(program_, "/sline /o\"" + file + "\" /e" + c.editor), 0) << Utf8(c.editor);
    // The file is opened with its associated program instead.
    EXPECT_EQ(RecordedStarts(opener).size(), ++opened) << Utf8(c.editor);
    EXPECT_EQ(c.runs(), runs) << Utf8(c.editor);
  }
  std::string lines;
  for (size_t i = 0; i < std::size(cases); ++i) lines += "line\r\n";
  EXPECT_EQ(ReadFileBytes(file), lines);
  EXPECT_TRUE(SeenMessageBoxes().empty());
  DeleteTree(uncFolder);
}

TEST_F(Jotwell, TwentyRunsAtOnceWriteTwentyWholeLines) {
  const std::string file = ProgramFolder() + "shared.txt";
  std::set<std::string> expected;
  // Started suspended and let go together, so that their opens and writes
  // meet as closely as separate processes can.
  std::vector<UniqueProcessInformation> processes;
  for (int i = 0; i < 20; ++i) {
    // Long lines, each of its own letter, would show any mixing.
    const std::string line = "run" + std::to_string(i) + " " + std::string(20000, static_cast<char>('a' + i));
    expected.insert(line);
    std::string commandLine = MenuCommandLine(program_, "/s" + line + " /o" + file);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    UniqueProcessInformation& process = processes.emplace_back();
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, process.put()));
  }
  for (const UniqueProcessInformation& process : processes) ResumeThread(process.thread());
  for (const UniqueProcessInformation& process : processes) {
    ASSERT_EQ(WaitForSingleObject(process.process(), 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(process.process(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }

  // Each expected line exactly once, and nothing else; the lines are too
  // long to print, so a failure names the runs.
  const std::string text = ReadFileBytes(file);
  std::map<std::string, int> counts;
  std::string::size_type start = 0;
  for (std::string::size_type end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    ++counts[text.substr(start, end - start)];
  }
  EXPECT_EQ(start, text.size()) << "the file ends in a whole line";
  for (const auto& [line, count] : counts) {
    EXPECT_TRUE(expected.count(line))
        << "a mixed line of " << line.size() << " bytes: " << line.substr(0, 12);
    EXPECT_EQ(count, 1) << line.substr(0, 6);
  }
  for (const std::string& line : expected) EXPECT_TRUE(counts.count(line)) << "missing " << line.substr(0, 6);
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, FileHeldByAnotherWriterIsAppendedToAtOnce) {
  const std::string file = ProgramFolder() + "held.txt";
  // As another run holds it in the middle of its own append.
  UniqueFile writer(CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  ASSERT_EQ(RunLauncher(program_, "/sjotted /o" + file), 0);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer.get(), "other\r\n", 7, &written, nullptr));
  writer.reset();
  EXPECT_EQ(ReadFileBytes(file), "jotted\r\nother\r\n");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Jotwell, FileLockedForAMomentIsWaitedForButNotForever) {
  const std::string file = ProgramFolder() + "locked.txt";
  const auto lockFile = [&file] {
    // A reader that lets nobody write meanwhile.
    return UniqueFile(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  };

  // Let go after half a second, which Jotwell is still waiting through: the
  // line is written, without a message.
  UniqueFile lock = lockFile();
  ASSERT_TRUE(lock);
  ChildProcess waiting(MenuCommandLine(program_, "/safter the lock /o" + file));
  ASSERT_TRUE(waiting.started());
  EXPECT_FALSE(waiting.EndsWithin(500)) << "Jotwell did not wait for the locked file";
  lock.reset();
  EXPECT_EQ(waiting.Wait(), 0);
  EXPECT_EQ(ReadFileBytes(file), "after the lock\r\n");
  EXPECT_TRUE(SeenMessageBoxes().empty());

  // Held throughout: Jotwell gives up after its two seconds and says so.
  lock = lockFile();
  ASSERT_TRUE(lock);
  ExpectMessageBox(IDOK);
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunLauncher(program_, "/snever /o" + file), 0);
  const DWORD elapsed = GetTickCount() - start;
  lock.reset();
  EXPECT_GE(elapsed, 2000u);
  EXPECT_LT(elapsed, 15000u);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kCreateFailure);
  EXPECT_EQ(ReadFileBytes(file), "after the lock\r\n");
}
