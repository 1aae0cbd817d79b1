// What a hostile page can try with one click on an Orbisk entry, through the
// real host under Wine: its text reaches the item's program as data, never
// as arguments, options, commands or paths of its own choosing.
#include <windows.h>

#include <nlohmann/json.hpp>
#include <random>

#include "bridge/host/host_texts.h"
#include "bridge/host/windows_arguments.h"
#include "catalogue/program_paths.h"
#include "common/text_util.h"
#include "common/utf.h"
#include "tests/harness/build_output.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/bridge/host_fixture.h"

namespace {

using nlohmann::json;

std::wstring W(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::wstring WideOfU8(const std::string& utf8) { return W(Utf8ToUtf16(utf8)); }

json Refused(LineRefusal refusal) { return {{"type", "error"}, {"message", host_texts::Refused(refusal)}}; }

class PickSafety : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    other_ = ProgramFolder() + "apps\\other.exe";
    ASSERT_TRUE(InstallRecorder(other_));
  }

  std::string other_;  // a program the page would like to start
};

TEST_F(PickSafety, EachValueReachesAProgramAsItsOwnArgument) {
  const struct {
    const char* what;
    std::string argments;
    json facts;
    std::vector<std::wstring> arguments;
  } cases[] = {
      {"a quote in a quoted link",
       "\"<AU>\"",
       {{"linkUrl", "javascript:x\" --some-switch \"y"}},
       {L"javascript:x\" --some-switch \"y"}},
      {"blanks in an unquoted selection",
       "<ST> -v",
       {{"selectionText", "x --some-switch=1"}},
       {L"x --some-switch=1", L"-v"}},
      {"backslashes before a quote", "\"<TT>\"", {{"topTitle", "a\\\\\"b\\"}}, {L"a\\\\\"b\\"}},
      {"a switch joined to a value",
       "--title=<TT>",
       {{"topTitle", "My \"Page\" x"}},
       {L"--title=My \"Page\" x"}},
      {"a token inside a value",
       "<TT> <TU>",
       {{"topTitle", "<TU>"}, {"topUrl", "http://a/"}},
       {L"<TU>", L"http://a/"}},
      {"Japanese and beyond code page 932",
       "<TT>",
       {{"topTitle", FromU8(u8"表題 ¥100 한국어 😀")}},
       {WideOfU8(FromU8(u8"表題 ¥100 한국어 😀"))}},
      {"cmd.exe syntax to a program", "<AU>", {{"linkUrl", "%OS%&\"x\"|y"}}, {L"%OS%&\"x\"|y"}},
      {"an empty value keeps its place", "<TT> end", {{"topTitle", ""}}, {L"", L"end"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(app_));
    EXPECT_EQ(PickOnce(LauncherItem("Item", app_, c.argments), c.facts), (json{{"type", "started"}}))
        << c.what;
    EXPECT_EQ(ArgumentsOfTheStart(app_), c.arguments) << c.what;
  }
}

// Where no value needs anything, the line is the one the item's script builds.
TEST_F(PickSafety, PlainValuesGiveTheScriptsLine) {
  EXPECT_EQ(PickOnce(LauncherItem("Item", app_, "<TU> \"<TT>\" -x"),
                     {{"topUrl", "http://a/b?c=1&d"}, {"topTitle", FromU8(u8"表 題")}}),
            (json{{"type", "started"}}));
  const std::vector<RecordedStart> starts = WaitForRecordedStarts(app_, 1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].wideCommandLine,
            L"\"" + ToWide(app_) + L"\" http://a/b?c=1&d \"" + WideOfU8(FromU8(u8"表 題")) + L"\" -x");
}

TEST_F(PickSafety, BatchFilesGetNothingCmdWouldRun) {
  const std::string batch = GetFolderPart(app_) + "run.bat";
  ASSERT_TRUE(WriteFileBytes(batch, "@\"%~dp0viewer.exe\" %*\r\n"));
  const struct {
    const char* what;
    std::string argments;
    std::string link;
    std::vector<std::wstring> arguments;  // empty: refused
  } cases[] = {
      {"an address with a query", "<AU>", "http://a/?b=1&c=(2)", {L"http://a/?b=1&c=(2)"}},
      {"blanks in quotes", "\"<AU>\" x", "a b", {L"a b", L"x"}},
      {"another program after an ampersand", "<AU>", "x&\"" + other_ + "\"", {}},
      {"a variable", "<AU>", "%OS%", {}},
      {"a line break", "\"<AU>\"", "a\r\nstart other.exe", {}},
      {"a backslash before the template's quote", "\"<AU>\" --safe-mode", "x\\", {L"x\\", L"--safe-mode"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(app_));
    const json answer = PickOnce(LauncherItem("Batch", batch, c.argments), {{"linkUrl", c.link}});
    if (c.arguments.empty()) {
      EXPECT_EQ(answer, Refused(LineRefusal::UnsafeForBatch)) << c.what;
      EXPECT_TRUE(RecordedStarts(app_).empty()) << c.what;
    } else {
      EXPECT_EQ(answer, (json{{"type", "started"}})) << c.what;
      EXPECT_EQ(ArgumentsOfTheStart(app_), c.arguments) << c.what;
    }
  }
  EXPECT_TRUE(RecordedStarts(other_).empty());
}

// The script hosts know no escaped quote and take a leading slash for an
// option: the page's text reaches the script as one argument, or nothing
// starts.
TEST_F(PickSafety, ScriptHostsGetNoQuoteOrOptionFromThePage) {
  char system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  const std::string cscript = std::string(system) + "\\cscript.exe";
  const std::string script = ProgramFolder() + "rec.vbs", log = script + ".log";
  // Writes its arguments in brackets, a line each, and then renames the
  // file into place, so that a log that is there is whole.
  ASSERT_TRUE(WriteFileBytes(
      script,
      "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
      "Set f = fso.CreateTextFile(WScript.ScriptFullName & \".tmp\", True)\r\n"
      "For i = 0 To WScript.Arguments.Count - 1\r\n"
      "  f.Write \"[\" & WScript.Arguments(i) & \"]\" & vbCrLf\r\n"
      "Next\r\n"
      "f.Close\r\n"
      "fso.MoveFile WScript.ScriptFullName & \".tmp\", WScript.ScriptFullName & \".log\"\r\n"));
  const std::string argments = "//nologo \"" + script + "\" \"<TT>\" <ST>";
  const struct {
    const char* what;
    std::string title, selection;
    std::string log;  // "" when refused
  } cases[] = {
      {"blanks in quotes and out", "a b", "c d", "[a b]\r\n[c d]\r\n"},
      {"a slash inside a value", "a", "x /y", "[a]\r\n[x /y]\r\n"},
      {"a quote ending the argument", "a\" //B \"x", "c", ""},
      {"an option of the host", "a", "//H:CScript", ""},
      {"a named argument of the script", "a", "/mode:danger", ""},
  };
  for (const auto& c : cases) {
    DeleteFileA(log.c_str());
    const json answer = PickOnce(LauncherItem("Script", cscript, argments),
                                 {{"topTitle", c.title}, {"selectionText", c.selection}});
    if (c.log.empty()) {
      EXPECT_EQ(answer, Refused(LineRefusal::PageFormsOption)) << c.what;
      EXPECT_FALSE(FileExists(log)) << c.what;
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}})) << c.what;
    WaitUntilInFolder(
        ProgramFolder(), [&log] { return FileExists(log); }, 10000);
    EXPECT_EQ(ReadFileBytes(log), c.log) << c.what;
  }
}

// Jotwell under another name is still Jotwell: page text never becomes one
// of its options or a part of its paths, and reaches it in code page 932.
TEST_F(PickSafety, JotwellTakesNoOrdersFromThePage) {
  const std::string jotwell = ProgramFolder() + "apps\\memo-tool.exe";
  ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_JOTWELL_EXE).c_str(), jotwell.c_str(), FALSE));
  const std::string memo = ProgramFolder() + "memo.txt", elsewhere = ProgramFolder() + "elsewhere.txt";
  const std::string argments = "/s<ST> /o" + memo;
  // A folder of memos inside the test's own folder: a title climbing out of
  // it would land on elsewhere.txt.
  const std::string memos = ProgramFolder() + "memos\\";
  ASSERT_TRUE(CreateDirectoryA(memos.c_str(), nullptr));
  const struct {
    const char* what;
    std::string argments;
    json facts;
    std::string line;  // what the memo gets, in code page 932; "" when refused
  } cases[] = {
      {"an editor option", argments, {{"selectionText", "x /e" + other_}}, ""},
      {"another memo", argments, {{"selectionText", "x /O" + elsewhere}}, ""},
      {"the first option", "<ST> /o" + memo, {{"selectionText", "/sx"}}, ""},
      {"a path out of the folder", "/sx /o" + memos + "<TT>.txt", {{"topTitle", "..\\elsewhere"}}, ""},
      {"quotes and slashes as text", argments, {{"selectionText", "a \"b\"/c \\/d"}}, "a \"b\"/c \\/d"},
      {"beyond code page 932", argments, {{"selectionText", FromU8(u8"¥100 ‾ 表")}}, "?100 ? 表"},
  };
  for (const auto& c : cases) {
    DeleteFileA(memo.c_str());
    const json answer = PickOnce(LauncherItem("Memo", jotwell, c.argments), c.facts);
    if (c.line.empty()) {
      EXPECT_EQ(answer["type"], "error") << c.what;
      EXPECT_FALSE(FileExists(memo)) << c.what;
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}})) << c.what;
    // Jotwell ends soon after it started; its line is written by then.
    WaitUntilInFolder(
        ProgramFolder(), [&memo] { return !ReadFileBytes(memo).empty(); }, 5000);
    EXPECT_EQ(ReadFileBytes(memo), c.line + "\r\n") << c.what;
  }
  EXPECT_FALSE(FileExists(elsewhere));
  EXPECT_TRUE(RecordedStarts(other_).empty());
}

TEST_F(PickSafety, FetchbayApplicationIsNeverThePages) {
  const std::string fetchbay = ProgramFolder() + "apps\\fetch.exe";
  ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_FETCHBAY_EXE).c_str(), fetchbay.c_str(), FALSE));
  for (const std::string& argments : {"<AU> " + app_, std::string("<AU>")}) {
    EXPECT_EQ(
        PickOnce(LauncherItem("Fetch", fetchbay, argments), {{"linkUrl", "http://127.0.0.1:9/ " + other_}}),
        Refused(LineRefusal::PageNamesPath))
        << argments;
  }
  EXPECT_TRUE(RecordedStarts(other_).empty());
  EXPECT_TRUE(RecordedStarts(app_).empty());
}

TEST_F(PickSafety, OverLongLineIsRefusedAndTheHostGoesOn) {
  WriteCatalogue({LauncherItem("Long", app_, "<TT> <TU>")});
  std::string title;
  for (int i = 0; i < 200000; ++i) title += "<TU>";
  auto host = Connect();
  const auto answer = host->Ask(Pick("Long", {{"topTitle", title}, {"topUrl", std::string(100000, 'u')}}));
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, Refused(LineRefusal::TooLong));
  const auto list = host->Ask({{"type", "list"}});
  ASSERT_TRUE(list);
  EXPECT_EQ((*list)["type"], "items");
  const auto fits = host->Ask(Pick("Long", {{"topTitle", std::string(30000, 't')}, {"topUrl", "u"}}));
  ASSERT_TRUE(fits);
  EXPECT_EQ(*fits, (json{{"type", "started"}}));
  EXPECT_EQ(ArgumentsOfTheStart(app_), (std::vector<std::wstring>{std::wstring(30000, L't'), L"u"}));
}

// Firefox runs the host in a job that kills everything in it when it ends.
// The program a pick started must outlive it.
TEST_F(PickSafety, StartedProgramOutlivesTheBrowsersJob) {
  WriteCatalogue({LauncherItem("Item", app_, "<TU>")});
  const std::string eventName = "OrbiskHoldRecorder" + std::to_string(GetCurrentProcessId());
  const UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  ASSERT_TRUE(release);
  ASSERT_TRUE(WriteFileBytes(app_ + ".hold", eventName));
  auto host = Connect(OrbiskOrigin(), JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK);
  const auto answer = host->Ask(Pick("Item", {{"topUrl", "http://a/"}}));
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, (json{{"type", "started"}}));
  host->CloseInput();
  ASSERT_TRUE(host->WaitForExit(10000));
  host->CloseJob();
  SetEvent(release.get());
  EXPECT_EQ(ArgumentsOfTheStart(app_), std::vector<std::wstring>{L"http://a/"});
}

// The host's own reading of a command line agrees with the system's.
TEST(WindowsArguments, SplitAgreesWithCommandLineToArgvW) {
  std::vector<std::wstring> lines = {L"a\"\"b\" c",           L"\"a\"\"\"b c",  L"\"\"\"a\"\"\" b",
                                     L"a\\\\\\\"b \"c\\\\\"", L"\"a b\\\"\" c", L"\"\"\"\"\"\" x",
                                     L"a\"b\"\"c\"d e"};
  std::mt19937 random(5);
  const wchar_t pieces[] = {L'a', L' ', L'\t', L'"', L'\\'};
  for (int round = 0; round < 3000; ++round) {
    std::wstring line;
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i) line += pieces[std::uniform_int_distribution<int>(0, 4)(random)];
    lines.push_back(line);
  }
  for (const std::wstring& line : lines) {
    std::vector<std::wstring> system = SplitAsWindowsDoes(L"\"C:\\x.exe\" " + line);
    ASSERT_FALSE(system.empty());
    system.erase(system.begin());
    std::vector<std::wstring> ours;
    for (const std::u16string& argument : SplitArguments(std::u16string(line.begin(), line.end()))) {
      ours.push_back(W(argument));
    }
    EXPECT_EQ(ours, system) << ToAnsi(line);
  }
}

}  // namespace
