// The lines the real host gives under Wine, read as Windows reads them: in
// the system's ANSI code page, for an option at an argument's start, and by
// the script hosts' own rules. The recorder takes each line as the host gave
// it (tests/wine/bridge/cmd_stand_in_test.cpp does the same for cmd.exe).
#include <windows.h>

#include <nlohmann/json.hpp>

#include "bridge/host/host_texts.h"
#include "bridge/host/windows_arguments.h"
#include "common/text_util.h"
#include "common/utf.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/bridge/host_fixture.h"

namespace {

using nlohmann::json;
using Args = std::vector<std::u16string>;

std::u16string U16OfWide(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::u16string U16OfU8(const std::string& utf8) { return Utf8ToUtf16(utf8); }
std::string U8(const std::u16string& text) { return Utf16ToUtf8(text); }

json Started() { return {{"type", "started"}}; }
json Refused(LineRefusal refusal) { return {{"type", "error"}, {"message", host_texts::Refused(refusal)}}; }

class WindowsReadings : public HostFixture {};

// The arguments a program that reads the ANSI line makes of the raw bytes
// of GetCommandLineA after its own quoted name: split by the C runtime's
// rule with code page 932's double-byte characters whole.
std::vector<std::string> AnsiArguments(const std::string& line, const std::string& program, QuoteRuns rule) {
  const std::string name = "\"" + program + "\" ";
  if (line.compare(0, name.size(), name) != 0) return {"<line of another program: " + line + ">"};
  return SplitCrtArguments(std::string_view(line).substr(name.size()), rule,
                           [](unsigned char byte) { return IsDBCSLeadByteEx(932, byte) != FALSE; });
}

// The recorder reads its line in the system's code page, 932 here, where
// Windows' best fit makes the yen sign a backslash.
TEST_F(WindowsReadings, AnsiLineGivesEachValueWhole) {
  const std::string evil = FromU8(u8"x¥\" --evil \"y");
  const struct {
    const char* what;
    std::string argments;
    json facts;
    bool mayRefuse;
    Args wide;                      // the arguments in UTF-16
    std::vector<std::string> ansi;  // and in code page 932
  } cases[] = {
      {"a yen sign before the template's quote",
       "\"<TT>\" --fixed",
       {{"topTitle", FromU8(u8"abc¥")}},
       false,
       {u"abc¥", u"--fixed"},
       {"abc\\", "--fixed"}},
      {"a run of them, and one alone",
       "\"<TT>\" \"<ST>\"",
       {{"topTitle", FromU8(u8"abc¥¥")}, {"selectionText", FromU8(u8"¥")}},
       false,
       {u"abc¥¥", u"¥"},
       {"abc\\\\", "\\"}},
      {"a yen sign before a quote of the page",
       "\"<TT>\" --fixed",
       {{"topTitle", evil}},
       true,
       {U16OfU8(evil), u"--fixed"},
       {"x\\\" --evil \"y", "--fixed"}},
      {"the same after an option's name",
       "--title=<TT> --url=<TU>",
       {{"topTitle", FromU8(u8"abc¥")}, {"topUrl", evil}},
       true,
       {u"--title=abc¥", u"--url=" + U16OfU8(evil)},
       {"--title=abc\\", "--url=x\\\" --evil \"y"}},
      {"the same in the second of two",
       "\"<TT>\" \"<ST>\"",
       {{"topTitle", FromU8(u8"abc¥")}, {"selectionText", evil}},
       true,
       {u"abc¥", U16OfU8(evil)},
       {"abc\\", "x\\\" --evil \"y"}},
      {"a price",
       "\"<TT>\" --fixed",
       {{"topTitle", FromU8(u8"price ¥1,000")}},
       false,
       {u"price ¥1,000", u"--fixed"},
       {"price \\1,000", "--fixed"}},
      // 表 is 95 5C in code page 932: its trail byte before the quote is no
      // backslash.
      {"Japanese text",
       "\"<TT>\" --fixed",
       {{"topTitle", FromU8(u8"ソ能 表")}},
       false,
       {u"ソ能 表", u"--fixed"},
       {"ソ能 表", "--fixed"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(app_));
    const json answer = PickOnce(LauncherItem("Item", app_, c.argments), c.facts);
    if (c.mayRefuse && answer == Refused(LineRefusal::PageFormsOption)) {
      EXPECT_TRUE(RecordedStarts(app_).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(answer, Started()) << c.what;
    const std::vector<RecordedStart> starts = WaitForRecordedStarts(app_, 1);
    ASSERT_EQ(starts.size(), 1u) << c.what;
    for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
      EXPECT_EQ(AnsiArguments(starts[0].commandLine, app_, rule), c.ansi)
          << c.what << ": " << Utf8(starts[0].commandLine);
    }
    const std::u16string program = u"\"" + U16(app_) + u"\" ";
    const std::u16string line = U16OfWide(starts[0].wideCommandLine);
    ASSERT_EQ(line.substr(0, program.size()), program) << c.what;
    ExpectEveryWideReadingGives(std::u16string_view(line).substr(program.size()), c.wide,
                                std::string(c.what) + ": " + U8(line));
  }
}

// A program takes an argument that begins with a dash or a slash for an
// option, its quotes or not; the page may only fill one the template began,
// or write after a "--" of the template.
TEST_F(WindowsReadings, PageTextStartsNoOption) {
  const struct {
    const char* what;
    std::string argments;
    json facts;
    std::vector<std::wstring> arguments;  // empty: refused
  } cases[] = {
      {"a switch that names a program", "<ST>", {{"selectionText", "--renderer-cmd-prefix=x.exe"}}, {}},
      {"a slash in quotes", "\"<TT>\"", {{"topTitle", "/evil"}}, {}},
      {"a dash in quotes", "\"<TT>\"", {{"topTitle", "--evil"}}, {}},
      // U+00AD becomes "-" in code page 932.
      {"a soft hyphen", "<ST>", {{"selectionText", FromU8(u8"\u00AD-evil")}}, {}},
      {"after the template's option name", "--title=<TT>", {{"topTitle", "--evil"}}, {L"--title=--evil"}},
      {"after the template's --", "-- <ST>", {{"selectionText", "--evil"}}, {L"--", L"--evil"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(app_));
    const json answer = PickOnce(LauncherItem("Item", app_, c.argments), c.facts);
    if (c.arguments.empty()) {
      EXPECT_EQ(answer, Refused(LineRefusal::PageFormsOption)) << c.what;
      EXPECT_TRUE(RecordedStarts(app_).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(answer, Started()) << c.what;
    EXPECT_EQ(ArgumentsOfTheStart(app_), c.arguments) << c.what;
  }
}

// Windows' programs that open what they are given or run it as code: the
// recorder under their names gets the page's text only where the template
// makes it data (a web address to open, a script's argument), and is never
// started where the page would choose what is opened or run.
TEST_F(WindowsReadings, PageChoosesNothingThatRunsOrOpens) {
  const std::string calc = "file:///C:/windows/system32/calc.exe", share = "\\\\server\\share\\x.exe";
  const struct {
    const char* what;
    std::string program, argments, link;
    LineRefusal refusal;
    std::vector<std::wstring> arguments;  // when started
  } cases[] = {
      {"explorer with a web address",
       "explorer.exe",
       "\"<AU>\"",
       "https://x.test/?a=1",
       LineRefusal::None,
       {L"https://x.test/?a=1"}},
      {"explorer with a program's address", "explorer.exe", "\"<AU>\"", calc, LineRefusal::PageNamesPath, {}},
      {"explorer with a share", "EXPLORER.EXE", "<AU>", share, LineRefusal::PageNamesPath, {}},
      {"rundll32's protocol handler",
       "rundll32.exe",
       "url.dll,FileProtocolHandler <AU>",
       calc,
       LineRefusal::PageNamesPath,
       {}},
      {"mshta's application", "mshta.exe", "\"<AU>\"", "http://x.test/a.hta", LineRefusal::PageNamesPath, {}},
      {"an argument of mshta's application",
       "mshta.exe",
       "C:\\t\\v.hta \"<AU>\"",
       calc,
       LineRefusal::None,
       {L"C:\\t\\v.hta", L"file:///C:/windows/system32/calc.exe"}},
      {"PowerShell's command",
       "powershell.exe",
       "-NoProfile -Command \"Start-Process '<AU>'\"",
       "x'; calc; '",
       LineRefusal::PageIsCode,
       {}},
      {"PowerShell's script argument",
       "pwsh.exe",
       "-File C:\\t\\x.ps1 \"<AU>\"",
       "$(calc)",
       LineRefusal::None,
       {L"-File", L"C:\\t\\x.ps1", L"$(calc)"}},
  };
  for (const auto& c : cases) {
    const std::string program = ProgramFolder() + "win\\" + c.program;
    ASSERT_TRUE(InstallRecorder(program));
    const json answer = PickOnce(LauncherItem("Item", program, c.argments), {{"linkUrl", c.link}});
    if (c.refusal != LineRefusal::None) {
      EXPECT_EQ(answer, Refused(c.refusal)) << c.what;
      EXPECT_TRUE(RecordedStarts(program).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(answer, Started()) << c.what;
    EXPECT_EQ(ArgumentsOfTheStart(program), c.arguments) << c.what;
  }
}

// How wscript and cscript split their line: blanks and tabs outside quotes
// separate, a quote opens or closes a quoted part, and a backslash is only
// text. (Wine's script hosts read backslashes before a quote as the C
// runtime does, so the real ones cannot judge this.)
Args ReadAsScriptHost(std::u16string_view line) {
  Args arguments;
  bool quoted = false, inArgument = false;
  for (const char16_t c : line) {
    if (!quoted && (c == u' ' || c == u'\t')) {
      inArgument = false;
      continue;
    }
    if (!inArgument) arguments.emplace_back();
    inArgument = true;
    if (c == u'"') {
      quoted = !quoted;
    } else {
      arguments.back() += c;
    }
  }
  return arguments;
}

// The recorder under the name cscript.exe is a script host to the host.
TEST_F(WindowsReadings, ScriptHostsGetBackslashesAsText) {
  const std::string cscript = ProgramFolder() + "wsh\\cscript.exe", script = ProgramFolder() + "rec.vbs";
  const struct {
    const char* what;
    std::string title, selection;
  } cases[] = {
      {"a folder", "C:\\dir\\", "c"},
      {"backslashes in runs", "a\\b\\\\", "x y\\"},
      {"a share", "\\\\server\\share", "d\\\\"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(InstallRecorder(cscript));
    EXPECT_EQ(PickOnce(LauncherItem("Script", cscript, "//nologo \"" + script + "\" \"<TT>\" <ST>"),
                       {{"topTitle", c.title}, {"selectionText", c.selection}}),
              Started())
        << c.what;
    const std::vector<RecordedStart> starts = WaitForRecordedStarts(cscript, 1);
    ASSERT_EQ(starts.size(), 1u) << c.what;
    const Args expected = {U16(cscript), u"//nologo", U16(script), U16OfU8(c.title), U16OfU8(c.selection)};
    EXPECT_EQ(ReadAsScriptHost(U16OfWide(starts[0].wideCommandLine)), expected)
        << c.what << ": " << Utf8(starts[0].wideCommandLine);
  }
  // The script itself is never the page's.
  for (const std::string& argments : {std::string("\"<TT>\""), std::string("//nologo <TT> x")}) {
    ASSERT_TRUE(InstallRecorder(cscript));
    EXPECT_EQ(PickOnce(LauncherItem("Script", cscript, argments), {{"topTitle", "\\\\server\\evil.vbs"}}),
              Refused(LineRefusal::PageNamesPath))
        << argments;
    EXPECT_TRUE(RecordedStarts(cscript).empty()) << argments;
  }
}

}  // namespace
