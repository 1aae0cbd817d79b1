// What cmd.exe gets from the real host, for a batch item and for an item
// that runs cmd.exe itself. Wine's cmd.exe reads its line otherwise than
// Windows' does (it starts batch files with /s, and its /c takes quotes off
// in its own way), so watching it run proves nothing: the recorder stands in
// for the system folder's cmd.exe, and the cmd model of Windows' rules reads
// the exact line the host gave.
//
// These tests run in an executable of their own, whose processes load the
// system folder's cmd.exe from its file (WINEDLLOVERRIDES=cmd.exe=n, set by
// with-native-cmd.sh). Every other process in the prefix runs Wine's builtin
// cmd.exe even while the recorder is in the file's place.
#include <windows.h>

#include <nlohmann/json.hpp>

#include "bridge/host/cmd_reading.h"
#include "bridge/host/host_texts.h"
#include "common/text_util.h"
#include "common/utf.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/win_test_util.h"
#include "tests/native/batch_argument_lists.h"
#include "tests/wine/bridge/host_fixture.h"

namespace {

using nlohmann::json;
using Args = std::vector<std::u16string>;

std::string U8(const std::u16string& text) { return Utf16ToUtf8(text); }

// The line with the page's values marked, each found in turn at or after
// from: the host may put quotes or backslashes around a value, never inside
// it. A value not found fails the test and leaves the rest unmarked.
MarkedText MarkValues(const std::u16string& line, std::size_t from, const Args& values) {
  MarkedText marked;
  marked.Append(line, false);
  std::size_t at = from;
  for (const std::u16string& value : values) {
    const std::size_t found = line.find(value, at);
    if (found == std::u16string::npos) {
      ADD_FAILURE() << "the value " << U8(value) << " is not in the line " << U8(line);
      break;
    }
    for (std::size_t i = found; i < found + value.size(); ++i) marked.page[i] = true;
    at = found + value.size();
  }
  return marked;
}

// The recorder in place of the system folder's cmd.exe. Its own bytes are
// kept beside the test folders before it is replaced and put back in
// TearDown; a run that ended in between puts them back at its next start.
class CmdStandIn : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    if (HasFatalFailure()) return;
    char system[MAX_PATH] = {}, temp[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    cmd_ = std::string(system) + "\\cmd.exe";
    kept_ = std::string(temp) + "orbisk-system-cmd.exe";
    // While the recorder is in place the kept file is there, and it is the
    // original.
    if (!FileExists(kept_)) {
      ASSERT_TRUE(CopyFileA(cmd_.c_str(), kept_.c_str(), TRUE));
    }
    replaced_ = true;
    ASSERT_TRUE(InstallRecorder(cmd_));
    // Started without with-native-cmd.sh, this would run Wine's own cmd.exe:
    // a line that does nothing there tells.
    ASSERT_EQ(RunProcess("\"" + cmd_ + "\" /c rem"), 0);
    const std::vector<RecordedStart> probe = RecordedStarts(cmd_);
    ASSERT_EQ(probe.size(), 1u) << "Wine's own cmd.exe ran: start the tests through with-native-cmd.sh";
    ASSERT_TRUE(InstallRecorder(cmd_));
  }

  void TearDown() override {
    if (replaced_) {
      if (CopyFileA(kept_.c_str(), cmd_.c_str(), FALSE)) {
        DeleteFileA(kept_.c_str());
      } else {
        ADD_FAILURE() << "cmd.exe could not be put back from " << kept_;
      }
      DeleteFileA((cmd_ + ".log").c_str());
    }
    HostFixture::TearDown();
  }

  // The one line the stand-in got, as GetCommandLineW gave it.
  std::u16string LineOfTheStandIn() {
    const std::vector<RecordedStart> starts = WaitForRecordedStarts(cmd_, 1);
    if (starts.size() != 1) return u"<started " + U16(std::to_string(starts.size())) + u" times>";
    return std::u16string(starts[0].wideCommandLine.begin(), starts[0].wideCommandLine.end());
  }

  std::string cmd_, kept_;
  bool replaced_ = false;
};

constexpr char kHandsOn[] = "@\"%~dp0viewer.exe\" %*\r\n";

// The line the stand-in got for a batch item whose file hands "%*" on,
// read by the cmd model with the page's values (in order) marked: cmd.exe
// runs the batch file with the values only as text, in the file's second
// reading too, and the program behind gets expected by every reading.
void ExpectBatchLineHandsOn(const std::u16string& line, const std::string& batch, const Args& values,
                            const Args& expected, const std::string& what) {
  const std::u16string start = u"cmd.exe /d /e:ON /v:OFF /c \"";
  const std::size_t name = std::u16string_view(u"cmd.exe ").size();
  ASSERT_EQ(line.substr(0, start.size()), start) << what << ": " << U8(line);
  const std::u16string quotedBatch = u"\"" + U16(batch) + u"\"";
  const CmdCommands read =
      ReadCmdCommand(MarkValues(line.substr(name), start.size() - name + quotedBatch.size(), values));
  EXPECT_FALSE(read.pageInSwitches) << what;
  ASSERT_FALSE(read.commands.empty()) << what;
  for (const MarkedText& command : read.commands) {
    EXPECT_TRUE(CmdTakesPageAsText(command, true)) << what << ": " << U8(line);
    const CmdWords words = SplitCmdName(command);
    EXPECT_EQ(words.name.text, quotedBatch) << what;
    EXPECT_TRUE(BatchFileTakesPageAsText(U16(kHandsOn), words.arguments, ArgumentUseOfProgram))
        << what << ": " << U8(line);
    // %* hands the arguments on without the separators before them.
    const std::size_t first = words.arguments.text.find_first_not_of(kBatchSeparators);
    const std::u16string handedOn =
        first == std::u16string::npos ? std::u16string() : words.arguments.text.substr(first);
    ExpectEveryWideReadingGives(handedOn, expected, what + ": " + U8(line));
  }
}

TEST_F(CmdStandIn, BatchFilesGetTheirArgumentsAsText) {
  const std::string link = "http://x.test/?a=1&calc";
  const struct {
    const char* what;
    std::string batch, argments;
    json facts;
    Args values;    // as they stand in the line, in order
    Args expected;  // what the program behind %* gets
  } cases[] = {
      {"a link with an ampersand", "run.bat", "<TU>", {{"topUrl", link}}, {U16(link)}, {U16(link)}},
      {"the same in quotes", "run.bat", "\"<TU>\"", {{"topUrl", link}}, {U16(link)}, {U16(link)}},
      {"a backslash before a quote, an ampersand among blanks",
       "run.cmd",
       "\"<TT>\" \"<AT>\"",
       {{"topTitle", "a\\"}, {"linkText", " & calc "}},
       {u"a\\", u" & calc "},
       {u"a\\", u" & calc "}},
      {"operators inside an argument",
       "run.bat",
       "x<TT>y",
       {{"topTitle", "a|b>c"}},
       {u"a|b>c"},
       {u"xa|b>cy"}},
      {"an option after a value ending in a backslash",
       "run.bat",
       "\"<TT>\" --safe-mode",
       {{"topTitle", "x\\"}},
       {u"x\\"},
       {u"x\\", u"--safe-mode"}},
      {"a blank in the batch file's name",
       "my run.bat",
       "<TU>",
       {{"topUrl", "http://x.test/a (b)"}},
       {u"http://x.test/a (b)"},
       {u"http://x.test/a (b)"}},
  };
  for (const auto& c : cases) {
    const std::string batch = GetFolderPart(app_) + c.batch;
    ASSERT_TRUE(WriteFileBytes(batch, kHandsOn));
    ASSERT_TRUE(InstallRecorder(cmd_));
    EXPECT_EQ(PickOnce(LauncherItem("Batch", batch, c.argments), c.facts), (json{{"type", "started"}}))
        << c.what;
    // The system folder's cmd.exe was started: its log has the line.
    ExpectBatchLineHandsOn(LineOfTheStandIn(), batch, c.values, c.expected, c.what);
  }
}

// The published batch-file argument lists, each value in an argument of
// its own: the program behind "%*" gets the list back, or the pick is
// refused and nothing starts.
TEST_F(CmdStandIn, BatchArgumentListsComeBackOrAreRefused) {
  const std::string batch = GetFolderPart(app_) + "run.bat";
  ASSERT_TRUE(WriteFileBytes(batch, kHandsOn));
  const char* const facts[] = {"topTitle", "linkText", "selectionText"};
  const char* const tokens[] = {"<TT>", "<AT>", "<ST>"};
  int started = 0;
  for (const Args& list : BatchArgumentLists()) {
    json values = json::object();
    std::string argments;
    for (std::size_t i = 0; i < list.size(); ++i) {
      values[facts[i]] = U8(list[i]);
      argments += std::string(i ? " " : "") + tokens[i];
    }
    const std::string what = argments + " with " + U8(list[0]);
    ASSERT_TRUE(InstallRecorder(cmd_));
    const json answer = PickOnce(LauncherItem("Batch", batch, argments), values);
    if (BatchListIsRefused(list)) {
      EXPECT_EQ(answer,
                (json{{"type", "error"}, {"message", host_texts::Refused(LineRefusal::UnsafeForBatch)}}))
          << what;
      EXPECT_TRUE(RecordedStarts(cmd_).empty()) << what;
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}})) << what;
    ExpectBatchLineHandsOn(LineOfTheStandIn(), batch, list, list, what);
    ++started;
  }
  EXPECT_GE(started, 12);
}

TEST_F(CmdStandIn, CmdItemsRunNothingOfThePage) {
  const std::string link = "http://x.test/?a=1&calc";
  const struct {
    const char* what;
    std::string argments;
    bool mayRefuse;               // refusing is as good as a safe line
    std::u16string name;          // the command cmd.exe runs, as written; "" when not checked
    Args expected;                // its arguments, by the C runtime's rules
    const char* value = nullptr;  // the page's link; nullptr: the one above
  } cases[] = {
      {"start with a title", "/c start \"\" \"<TU>\"", false, u"start", {u"", U16(link)}},
      {"/s and the whole command in quotes",
       "/s /c \"\"C:\\Tools\\view.exe\" \"<TU>\"\"",
       false,
       u"\"C:\\Tools\\view.exe\"",
       {U16(link)}},
      // Without /s, /c takes off the first and the last quote: the quotes
      // around the link no longer hold it.
      {"/c and quotes of the template", "/c \"C:\\Tools\\view.exe\" \"<TU>\"", true, u"", {}},
      // /c takes the idiom's outer quotes off: an empty link stands outside
      // quotes there, and keeps its place only as "".
      {"an empty value in the /s idiom",
       "/s /c \"\"C:\\Tools\\view.exe\" <TU> end\"",
       false,
       u"\"C:\\Tools\\view.exe\"",
       {u"", u"end"},
       ""},
  };
  const std::u16string program = u"\"" + U16(cmd_) + u"\" ";
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(cmd_));
    const std::string value = c.value ? c.value : link;
    const json answer = PickOnce(LauncherItem("Cmd", cmd_, c.argments), {{"topUrl", value}});
    if (c.mayRefuse && answer["type"] == "error") {
      EXPECT_EQ(answer["message"], host_texts::Refused(LineRefusal::UnsafeForBatch)) << c.what;
      EXPECT_TRUE(RecordedStarts(cmd_).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}})) << c.what;
    const std::u16string line = LineOfTheStandIn();
    ASSERT_EQ(line.substr(0, program.size()), program) << c.what << ": " << U8(line);
    const CmdCommands read = ReadCmdCommand(MarkValues(line.substr(program.size()), 0, {U16(value)}));
    EXPECT_FALSE(read.pageInSwitches) << c.what;
    ASSERT_FALSE(read.commands.empty()) << c.what;
    for (const MarkedText& command : read.commands) {
      EXPECT_TRUE(CmdTakesPageAsText(command, true)) << c.what << ": " << U8(line);
      if (c.name.empty()) continue;
      const CmdWords words = SplitCmdName(command);
      EXPECT_EQ(words.name.text, c.name) << c.what << ": " << U8(line);
      ExpectEveryWideReadingGives(words.arguments.text, c.expected, std::string(c.what) + ": " + U8(line));
    }
  }
}

// START hands its target to the shell, which opens a web address in the
// browser but starts the program a path, a share or a file: address names;
// a batch file may do the same with its arguments. Only the first reaches
// cmd.exe.
TEST_F(CmdStandIn, PageChoosesNoProgramForCmd) {
  const std::string web = "https://x.test/?a=1&b=2";
  const struct {
    const char* what;
    std::string program;  // "" for cmd.exe itself; else a batch file's name
    std::string batch, argments, link;
    LineRefusal refusal;
  } cases[] = {
      {"start with a web address", "", "", "/c start \"\" \"<TU>\"", web, LineRefusal::None},
      {"start with a program's address", "", "", "/c start \"\" \"<TU>\"",
       "file:///C:/windows/system32/calc.exe", LineRefusal::PageNamesPath},
      {"start with a share", "", "", "/c start \"\" \"<TU>\"", "\\\\server\\share\\x.exe",
       LineRefusal::PageNamesPath},
      {"start with a program's name", "", "", "/c start \"\" <TU>", "calc", LineRefusal::PageNamesPath},
      {"the command itself", "", "", "/c \"<TU>\"", "calc", LineRefusal::PageNamesPath},
      // The program cmd.exe starts reads its arguments after /c took the
      // idiom's outer quotes off: the link would begin one.
      {"an option for the program it starts", "", "", "/s /c \"\"C:\\Tools\\view.exe\" <TU>\"", "--evil",
       LineRefusal::PageFormsOption},
      {"a batch file's start with a web address", "open.bat", "start \"\" %1\r\n", "<TU>", web,
       LineRefusal::None},
      {"a batch file's start with a program's name", "open.bat", "start \"\" %1\r\n", "<TU>", "calc",
       LineRefusal::PageNamesPath},
      {"a batch file's command", "run.cmd", "@%~1\r\n", "\"<TU>\"", "calc", LineRefusal::PageNamesPath},
      // IF's command, FOR's DO command and another batch file are read too.
      {"a batch file's start after IF", "open.bat", "@if not \"%~1\"==\"\" start \"\" \"%~1\"\r\n", "<TU>",
       "C:\\Windows\\System32\\calc.exe", LineRefusal::PageNamesPath},
      {"a batch file's start after IF with a web address", "open.bat",
       "@if not \"%~1\"==\"\" start \"\" \"%~1\"\r\n", "<TU>", web, LineRefusal::None},
      {"a batch file's FOR", "open.bat", "@for %%a in (%*) do start \"\" %%a\r\n", "<TU>", "calc",
       LineRefusal::PageNamesPath},
      {"a batch file another one calls", "open.bat", "@call \"%~dp0inner.bat\" %*\r\n", "<TU>", "calc",
       LineRefusal::PageNamesPath},
      {"cmd.exe's IF", "", "", "/c if exist \"<TU>\" call \"<TU>\"", "C:\\Windows\\System32\\calc.exe",
       LineRefusal::PageNamesPath},
      // %~1 takes the host's quotes off: the program behind would get an
      // option after the page's blank.
      {"an option a batch file's %~1 hands on", "view.bat", "@\"%~dp0viewer.exe\" %~1\r\n", "<TU>",
       "a --evil", LineRefusal::PageFormsOption},
  };
  for (const auto& c : cases) {
    std::string program = cmd_;
    if (!c.program.empty()) {
      program = GetFolderPart(app_) + c.program;
      ASSERT_TRUE(WriteFileBytes(program, c.batch));
    }
    ASSERT_TRUE(InstallRecorder(cmd_));
    const json answer = PickOnce(LauncherItem("Cmd", program, c.argments), {{"topUrl", c.link}});
    if (c.refusal != LineRefusal::None) {
      EXPECT_EQ(answer, (json{{"type", "error"}, {"message", host_texts::Refused(c.refusal)}})) << c.what;
      EXPECT_TRUE(RecordedStarts(cmd_).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}})) << c.what;
    const std::u16string line = LineOfTheStandIn();
    EXPECT_NE(line.find(U16(web)), std::u16string::npos) << c.what << ": " << U8(line);
  }
}

// cmd.exe reads no line longer than 8,191 characters: a longer one would
// start nothing while the pick seemed to work.
TEST_F(CmdStandIn, LineLongerThanCmdReadsIsRefused) {
  const std::string batch = GetFolderPart(app_) + "run.bat";
  ASSERT_TRUE(WriteFileBytes(batch, kHandsOn));
  const std::string prefix = "cmd.exe /d /e:ON /v:OFF /c \"\"" + batch + "\" \"";
  const std::size_t fits = 8191 - U16(prefix).size() - 2;  // the link's closing quote and the host's
  for (const std::size_t length : {fits, fits + 1}) {
    ASSERT_TRUE(InstallRecorder(cmd_));
    const json answer =
        PickOnce(LauncherItem("Batch", batch, "\"<TU>\""), {{"topUrl", std::string(length, 'u')}});
    if (length > fits) {
      EXPECT_EQ(answer, (json{{"type", "error"}, {"message", host_texts::Refused(LineRefusal::TooLong)}}));
      EXPECT_TRUE(RecordedStarts(cmd_).empty());
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}}));
    const std::u16string line = LineOfTheStandIn();
    EXPECT_EQ(line.size(), 8191u);
  }
}

}  // namespace
