// cmd.exe's reading of a line, checked against the documented examples:
// the /c quote rule of cmd /?, the lines Process Monitor showed for a batch
// file started with and without an application name, and the batch-file
// argument lists that must come back through "%*" unchanged or be refused.
#include <gtest/gtest.h>

#include "bridge/host/cmd_reading.h"
#include "bridge/host/command_line.h"
#include "bridge/host/windows_arguments.h"
#include "catalogue/substitution.h"
#include "common/utf.h"
#include "tests/native/batch_argument_lists.h"
#include "tests/native/code_page.h"
#include "tests/native/marked_cases.h"

namespace {

std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

std::vector<std::u16string> Texts(const std::vector<MarkedText>& texts) {
  std::vector<std::u16string> out;
  for (const MarkedText& text : texts) out.push_back(text.text);
  return out;
}

TEST(CmdReading, CommandQuoteRule) {
  const struct {
    std::u16string_view afterName;
    std::vector<std::u16string> commands;  // as cmd.exe may run them
  } cases[] = {
      // Process Monitor: a batch file started with its name as the application.
      {u"/c \"C:\\t\\hello.cmd\" \"fellow Rustaceans\"", {u"C:\\t\\hello.cmd\" \"fellow Rustaceans"}},
      // … and with no application name: Windows' own pair of quotes.
      {u"/c \"\"C:\\t\\hello.cmd\" \"fellow Rustaceans\"\"", {u"\"C:\\t\\hello.cmd\" \"fellow Rustaceans\""}},
      // Two quotes around a blank: kept when they name a program, else taken off.
      {u"/c \"C:\\Program Files\\x.exe\"", {u"\"C:\\Program Files\\x.exe\"", u"C:\\Program Files\\x.exe"}},
      // /s, a special character between them, or no blank: taken off.
      {u"/s /c \"C:\\Program Files\\x.exe\"", {u"C:\\Program Files\\x.exe"}},
      {u"/c \"a&b c\"", {u"a&b c"}},
      // Each of the special characters cmd /? names: & < > ( ) @ ^ |.
      {u"/c \"a<b c\"", {u"a<b c"}},
      {u"/c \"a>b c\"", {u"a>b c"}},
      {u"/c \"a(b c\"", {u"a(b c"}},
      {u"/c \"a)b c\"", {u"a)b c"}},
      {u"/c \"a@b c\"", {u"a@b c"}},
      {u"/c \"a^b c\"", {u"a^b c"}},
      {u"/c \"a|b c\"", {u"a|b c"}},
      // A tab is a blank between them too.
      {u"/c \"C:\\My\tTools\\x.exe\"", {u"\"C:\\My\tTools\\x.exe\"", u"C:\\My\tTools\\x.exe"}},
      // Not exactly two quotes: the first and the last are taken off.
      {u"/c \"a b\" \"c d\"", {u"a b\" \"c d"}},
      {u"/c \"a b\" c\"", {u"a b\" c"}},
      {u"/c \"a b", {u"a b"}},
      {u"/c \"\"", {u""}},
      // /k and /r read the same, whatever the case of their letter.
      {u"/K \"C:\\Program Files\\x.exe\"", {u"\"C:\\Program Files\\x.exe\"", u"C:\\Program Files\\x.exe"}},
      {u"/S /R \"C:\\Program Files\\x.exe\"", {u"C:\\Program Files\\x.exe"}},
      // Two quotes that may be kept, the command not starting with one:
      // nothing is taken off either way.
      {u"/c x.exe \"a b\"", {u"x.exe \"a b\""}},
      {u"/c \"C:\\x.exe\"", {u"C:\\x.exe"}},
      // Text after the last quote stays.
      {u"/s/c \"\"a\" \"b\"\" tail", {u"\"a\" \"b\" tail"}},
      // A command that does not start with a quote keeps all of them.
      {u"/c start \"\" \"http://a/\"", {u"start \"\" \"http://a/\""}},
      {u"/d /e:ON /v:OFF /k  \"\"a\" b\"", {u"\"a\" b"}},
      {u"/R echo x", {u"echo x"}},
      // No /c, /k or /r: nothing runs.
      {u"/d /q", {}},
  };
  for (const auto& c : cases) {
    const CmdCommands read = ReadCmdCommand(Marked(c.afterName));
    EXPECT_FALSE(read.pageInSwitches) << U8(c.afterName);
    EXPECT_EQ(Texts(read.commands), c.commands) << U8(c.afterName);
  }
  // The page's text before the switch could choose cmd.exe's switches.
  const struct {
    std::u16string_view afterName;
    bool pageInSwitches;
  } switches[] = {{u"«/q» /c x", true}, {u"«x»", true}, {u"/c «x»", false}};
  for (const auto& c : switches) {
    EXPECT_EQ(ReadCmdCommand(Marked(c.afterName)).pageInSwitches, c.pageInSwitches) << U8(c.afterName);
  }
}

TEST(CmdReading, PageTextActsOnlyWhereItIsOutsideQuotes) {
  const struct {
    std::u16string_view command;
    bool separatorsToo;
    bool text;  // the page's characters are only text
  } cases[] = {
      {u"\"a.bat\" \"«x&calc»\"", true, true},
      {u"\"a.bat\" «x&calc»", false, false},
      {u"\"a.bat\" x\"«a|b>c»\"y", true, true},
      {u"\"a.bat\" «a b»", false, true},
      {u"\"a.bat\" «a b»", true, false},
      {u"\"a.bat\" «a,b»", true, false},
      {u"\"a.bat\" ^«&»", false, false},
      {u"\"a.bat\" \"^«&»\"", false, true},
      {u"\"a.bat\" \"«a\"»&calc", false, false},
      {u"\"a.bat\" \"«a%x»\"", false, false},
      {u"\"a.bat\" \"«a!x»\"", false, false},
      {u"\"a.bat\" \"«a^»\"", false, false},
      {u"\"a.bat\" \"«a\r\nb»\"", false, false},
      {u"\"a.bat\" %«OS»%", false, false},
      {u"\"a.bat\" !«OS»!", false, false},
      {u"\"a.bat\" %OS% «x»", false, true},
      // A backslash escapes nothing for cmd.exe.
      {u"\"a.bat\" a\\\"«x&y»\" b", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CmdTakesPageAsText(Marked(c.command), c.separatorsToo), c.text) << U8(c.command);
  }
}

TEST(CmdReading, NameAndBatchArguments) {
  const CmdWords words = SplitCmdName(Marked(u"\"C:\\a b\\run.bat\" x,\"y z\";=w  \"\""));
  EXPECT_EQ(words.name.text, u"\"C:\\a b\\run.bat\"");
  EXPECT_EQ(Texts(SplitBatchArguments(words.arguments)),
            (std::vector<std::u16string>{u"x", u"\"y z\"", u"w", u"\"\""}));
  // The Process Monitor line: cmd.exe looks for a program named so.
  EXPECT_EQ(SplitCmdName(Marked(u"C:\\t\\hello.cmd\" \"fellow Rustaceans")).name.text,
            u"C:\\t\\hello.cmd\" \"fellow");
}

// The lines of a batch file that use its arguments are read again with the
// arguments put in: there, quotes the first reading kept can turn page text
// into operators.
TEST(CmdReading, BatchFileSecondReading) {
  const struct {
    std::u16string_view file;
    std::u16string_view arguments;
    bool text;
  } cases[] = {
      {u"@\"%~dp0app.exe\" %*\r\n", u" \"«a&b»\" x", true},
      {u"app.exe %1 %2\r\n", u" \"«a&b»\" x", true},
      {u"app.exe \"%1\"\r\n", u" \"«a&b»\"", false},
      {u"app.exe %~1\r\n", u" \"«a&b»\"", false},
      {u"app.exe \"%~1\"\r\n", u" \"«a&b»\"", true},
      {u"app.exe \"%~f1\"\n", u" \"«a&b»\"", true},
      {u"app.exe %~nx1\n", u" \"«a&b»\"", false},
      {u"app.exe %~$PATH:1\n", u" \"«a&b»\"", false},
      // Only the lines that use the arguments are read again.
      {u"echo %%x & rem\r\napp.exe \"%~1\"\r\n", u" \"«a&b»\"", true},
      // %2 is the page's second argument; after SHIFT any of them.
      {u"app.exe \"%~1\" %2\r\n", u" safe \"«a&b»\"", true},
      {u"shift\r\napp.exe %1\r\n", u" safe \"«a&b»\"", true},
      {u"shift\r\napp.exe %~1\r\n", u" safe \"«a&b»\"", false},
      {u"app.exe %~3\r\n", u" \"«a&b»\"", true},
      // A variable set from an argument carries the page's text on.
      {u"set \"URL=%~1\"\r\nstart \"\" \"%URL%\"\r\n", u" \"«http://a/?b&c»\"", true},
      // A line that starts what an argument names lets the page choose it.
      {u"set \"URL=%~1\"\r\nstart \"\" \"%URL%\"\r\n", u" \"«C:\\Windows\\calc.exe»\"", false},
      {u"start \"\" %1\r\n", u" «calc»", false},
      {u"@%~1 --help\r\n", u" «calc»", false},
      {u"call %1\r\n", u" «calc»", false},
      {u"explorer.exe \"%~1\"\r\n", u" «\\\\server\\share\\x.exe»", false},
      {u"explorer.exe \"%~1\"\r\n", u" «https://a/»", true},
      {u"echo x>%1\r\n", u" «C:\\x.txt»", false},
      {u"for %%a in (%*) do echo %%a\r\n", u" «a» «b»", true},
      {u"for %%a in (%*) do start \"\" %%a\r\n", u" «calc»", false},
      {u"@if not \"%~1\"==\"\" start \"\" \"%~1\"\r\n", u" «C:\\Windows\\System32\\calc.exe»", false},
      {u"@if not \"%~1\"==\"\" start \"\" \"%~1\"\r\n", u" «https://x.test/»", true},
      {u"@call \"%~dp0inner.bat\" %*\r\n", u" «calc»", false},
      {u"set \"URL=%~1\"\r\necho %url%\r\n", u" \"«a&b»\"", false},
      {u"echo !URL:~1!\r\nset \"URL=%~1\"\r\n", u" \"«a&b»\"", false},
      {u"set A=%1\r\nset \"B=%A:~1,-1%\"\r\necho \"%B%\"\r\n", u" \"«a&b»\"", true},
      {u"set A=%1\r\nset \"B=%A:~1,-1%\"\r\necho %B%\r\n", u" \"«a&b»\"", false},
      {u"set A=%1\r\necho %A:~1,-1%\r\n", u" \"«a&b»\"", false},
      {u"set A=%1\r\necho %A%\r\n", u" \"«a&b»\"", true},
      {u"set A=%~1\r\n", u" \"«a&b»\"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BatchFileTakesPageAsText(c.file, Marked(c.arguments), ArgumentUseOfProgram), c.text)
        << U8(c.file) << U8(c.arguments);
  }
}

// What cmd.exe starts must be the template's: the page may give a program
// data, but never name the program, START's target (but for a web address,
// which the browser opens), what a program that runs or opens its arguments
// gets, or the file of a redirection.
TEST(CmdReading, PageChoosesNoProgram) {
  const struct {
    std::u16string_view command;
    bool safe;
  } cases[] = {
      {u"start \"\" \"«http://x.test/?a=1&calc»\"", true},
      {u"START \"\" «HTTPS://x.test/»", true},
      {u"start \"\" \"«file:///C:/Windows/System32/calc.exe»\"", false},
      {u"start \"\" \"«\\\\server\\share\\x.exe»\"", false},
      {u"start \"\" «calc»", false},
      {u"start «calc»", false},
      {u"start \"\" \"«ms-msdt:/id x»\"", false},
      {u"start \"\" \"« http://x.test/»\"", false},
      {u"start \"\" /min /d C:\\t \"«calc»\"", false},
      {u"start \"\" /min \"«https://x.test/»\"", true},
      {u"start \"«a title»\" \"http://x.test/\"", true},
      {u"start \"\" \"C:\\Tools\\view.exe\" \"«file:///x»\"", true},
      {u"start \"\" cmd /c «x»", false},
      // cmd.exe ends a command's name at a slash.
      {u"start/b «calc»", false},
      {u"explorer/e,«C:\\x.exe»", false},
      {u"\"C:\\t\\v.exe\"/x «y»", true},
      {u"«calc»", false},
      {u"\"«calc»\"", false},
      {u"@«calc»", false},
      {u"view«.exe»", false},
      {u"echo x & «calc»", false},
      {u"echo «x» & «calc»", false},
      {u"call «calc»", false},
      // A label's lines get the call's arguments, which the second reading
      // does not read them with.
      {u"call :sub «x»", false},
      {u"call :sub x", true},
      // IF's commands, after its condition and each ELSE, are read too; the
      // page may not write the condition outside quotes.
      {u"if not \"«C:\\calc.exe»\"==\"\" start \"\" \"«C:\\calc.exe»\"", false},
      {u"if not \"«https://x.test/»\"==\"\" start \"\" \"«https://x.test/»\"", true},
      {u"if /i \"«x»\" EQU \"y\" (echo a) else (start \"\" «calc»)", false},
      {u"if exist \"«C:\\x.exe»\" explorer.exe \"«C:\\x.exe»\"", false},
      {u"if exist \"«C:\\x.txt»\" \"C:\\t\\v.exe\" \"«C:\\x.txt»\"", true},
      {u"if «x»==y echo hi", false},
      {u"if defined URL echo «x»", true},
      // FOR runs its DO command with each item of its set.
      {u"for %a in («calc») do start \"\" %a", false},
      {u"for %%a in («https://x.test/») do start \"\" \"%%~a\"", false},
      {u"for %%a in («a b») do echo %%~nxa", true},
      {u"for /r «C:\\t» %%a in (*.exe) do %%a", false},
      {u"for /f \"tokens=*\" %%a in (\"«x»\") do echo %%a", false},
      {u"for %%a in (1 2) do start \"\" «calc»", false},
      // START's options that take a value, and a page value START would
      // take for its title with nothing after it (a new cmd.exe).
      {u"start /node 0 «calc»", false},
      {u"start /affinity 1 «calc»", false},
      {u"start \"«https://x.test/a b»\"", false},
      // Another batch file runs its arguments as commands the host has not read.
      {u"call \"C:\\t\\inner.bat\" «x»", false},
      {u"C:\\t\\open.cmd «https://x.test/»", false},
      {u"C:\\t\\open.cmd", true},
      // explorer.exe splits its line at commas; mshta.exe takes an inline
      // script's whole line.
      {u"explorer.exe «http://x.test/,C:\\Windows\\System32\\calc.exe»", false},
      {u"mshta vbscript:Execute(\"MsgBox(1)\") «:Execute(x)»", false},
      {u"mshta javascript:x=1; «y»", false},
      {u"\"C:\\t\\v.exe\" «x» 2>&1", true},
      {u"echo «x» >> C:\\log.txt", true},
      {u"echo x > «C:\\out.txt»", false},
      {u"echo x >«C:\\out.txt»", false},
      {u"sort < \"«C:\\secret.txt»\"", false},
      {u"explorer \"«https://x.test/»\"", true},
      {u"explorer.exe \"«C:\\x.exe»\"", false},
      {u"rundll32 url.dll,FileProtocolHandler «file:///C:/x.exe»", false},
      {u"cmd /c echo «x»", false},
      {u"C:\\Windows\\System32\\CMD /c echo «x»", false},
      {u"powershell -c \"echo «x»\"", false},
      {u"mshta \"«http://x.test/a.hta»\"", false},
      {u"wscript «x.vbs»", false},
      // What they run is the template's, their arguments data.
      {u"powershell -NoProfile -File \"%~dp0x.ps1\" «x»", true},
      {u"powershell -File «x.ps1»", false},
      {u"mshta C:\\t\\v.hta «x»", true},
      {u"cscript //nologo C:\\t\\a.vbs «x»", true},
      {u"(\"C:\\t\\v.exe\" «x»)", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CmdRunsNoPageProgram(Marked(c.command), ArgumentUseOfProgram), c.safe) << U8(c.command);
  }
}

constexpr LocalTime kMoment = {2024, 3, 5, 2, 7, 8, 9};
constexpr std::u16string_view kBatch = u"C:\\t\\run.bat";

// Argument lists a batch file that hands "%*" on to a program must give
// back exactly, or refuse: never run or redirect anything. Each list goes
// through an item whose template puts each value in an argument of its
// own, bare or in the template's quotes; the program behind reads what
// "%*" hands on by either C runtime's rules, in UTF-16 or in the ANSI line.
TEST(CmdReading, BatchFileArgumentListsComeBackOrAreRefused) {
  using List = std::vector<std::u16string>;
  const Fact facts[] = {Fact::TopTitle, Fact::LinkUrl, Fact::SelectionSource};
  const std::u16string_view tokens[] = {u"<TT>", u"<AU>", u"<SS>"};
  const LineEnvironment environment = {
      {Cp932WithBestFit, IsCp932LeadByte}, u"C:\\Windows\\system32\\cmd.exe", u"@\"%~dp0app.exe\" %*\r\n"};
  int passed = 0;
  for (const bool quoted : {false, true}) {
    for (const List& list : BatchArgumentLists()) {
      PageFacts16 values;
      std::u16string argumentTemplate;
      for (std::size_t i = 0; i < list.size(); ++i) {
        values[facts[i]] = list[i];
        argumentTemplate += std::u16string(i ? u" " : u"") + (quoted ? u"\"" : u"") +
                            std::u16string(tokens[i]) + (quoted ? u"\"" : u"");
      }
      const CommandLine line = BuildCommandLine(
          kBatch, ProgramKind::Batch,
          SubstituteArgumentsAsData(argumentTemplate, values, [] { return kMoment; }), environment);
      const std::string what = U8(argumentTemplate) + " with " + U8(list[0]);
      if (BatchListIsRefused(list)) {
        EXPECT_EQ(line.refusal, LineRefusal::UnsafeForBatch) << what;
        EXPECT_TRUE(line.text.empty()) << what;
        continue;
      }
      ASSERT_EQ(line.refusal, LineRefusal::None) << what;
      EXPECT_EQ(line.application, u"C:\\Windows\\system32\\cmd.exe");
      // cmd.exe's reading, with every character of the values the page's.
      MarkedText afterName;
      const std::u16string_view text = std::u16string_view(line.text).substr(8);
      for (std::size_t i = 0; i < text.size();) {
        std::size_t longest = 0;
        for (const std::u16string& value : list) {
          if (!value.empty() && text.compare(i, value.size(), value) == 0)
            longest = std::max(longest, value.size());
        }
        afterName.Append(text.substr(i, std::max<std::size_t>(longest, 1)), longest > 0);
        i += std::max<std::size_t>(longest, 1);
      }
      const CmdCommands read = ReadCmdCommand(afterName);
      ASSERT_EQ(read.commands.size(), 1u) << what;
      EXPECT_TRUE(CmdTakesPageAsText(read.commands[0], true)) << what << " gave " << U8(line.text);
      const CmdWords words = SplitCmdName(read.commands[0]);
      EXPECT_EQ(words.name.text, u"\"" + std::u16string(kBatch) + u"\"");
      EXPECT_TRUE(BatchFileTakesPageAsText(environment.batchFileText, words.arguments, ArgumentUseOfProgram))
          << what;
      std::vector<std::string> ansiList;
      for (const std::u16string& value : list) ansiList.push_back(Cp932WithBestFit(value));
      for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
        EXPECT_EQ(SplitCrtArguments(words.arguments.text, rule), list) << what << " gave " << U8(line.text);
        EXPECT_EQ(SplitCrtArguments(Cp932WithBestFit(words.arguments.text), rule, IsCp932LeadByte), ansiList)
            << what << " gave " << U8(line.text);
      }
      ++passed;
    }
  }
  EXPECT_GE(passed, 24);
}

// The host's line for the script and argument of the Process Monitor
// lines: what cmd.exe runs is the command of the line that worked (the one
// Windows made with no application name), not of the one that failed.
TEST(CmdReading, HostLineRunsWhatTheWorkingProcessMonitorLineRan) {
  const LineEnvironment environment = {
      {Cp932WithBestFit, IsCp932LeadByte}, u"C:\\Windows\\system32\\cmd.exe", u"@echo %*\r\n"};
  PageFacts16 values;
  values[Fact::TopTitle] = u"fellow Rustaceans";
  const CommandLine line =
      BuildCommandLine(u"C:\\t\\hello.cmd", ProgramKind::Batch,
                       SubstituteArgumentsAsData(u"<TT>", values, [] { return kMoment; }), environment);
  ASSERT_EQ(line.refusal, LineRefusal::None);
  ASSERT_EQ(line.text.substr(0, 8), u"cmd.exe ");
  const CmdCommands host = ReadCmdCommand(Marked(std::u16string_view(line.text).substr(8)));
  const CmdCommands worked = ReadCmdCommand(Marked(u"/c \"\"C:\\t\\hello.cmd\" \"fellow Rustaceans\"\""));
  const CmdCommands failed = ReadCmdCommand(Marked(u"/c \"C:\\t\\hello.cmd\" \"fellow Rustaceans\""));
  EXPECT_EQ(Texts(host.commands), Texts(worked.commands));
  EXPECT_NE(Texts(host.commands), Texts(failed.commands));
  ASSERT_EQ(host.commands.size(), 1u);
  EXPECT_EQ(SplitCmdName(host.commands[0]).name.text, u"\"C:\\t\\hello.cmd\"");
}

}  // namespace
