// The command lines a pick starts programs with: page values are data, for
// every kind of program, and the line is the script's wherever no value
// needs anything.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "bridge/host/cmd_reading.h"
#include "bridge/host/command_line.h"
#include "bridge/host/windows_arguments.h"
#include "catalogue/substitution.h"
#include "common/utf.h"
#include "tests/native/code_page.h"
#include "tests/native/japanese_system.h"

namespace {

constexpr LocalTime kMoment = {2024, 3, 5, 2, 7, 8, 9};
const Clock kClock = [] { return kMoment; };
constexpr std::u16string_view kApp = u"C:\\Apps\\app.exe";

std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

struct Built {
  std::u16string arguments;  // the line after the quoted program and its blank
  LineRefusal refusal;
};

// A batch file that hands all its arguments on to a program.
constexpr std::u16string_view kHandsOn = u"@\"%~dp0viewer.exe\" %*\r\n";
// What the host starts a batch file with, before the file's quoted path.
constexpr std::u16string_view kBatchStart = u"cmd.exe /d /e:ON /v:OFF /c \"";

LineEnvironment Japanese(std::u16string_view batchFile = kHandsOn) {
  return {{Cp932WithBestFit, IsCp932LeadByte}, std::u16string(kTestSystemCmd), std::u16string(batchFile)};
}

CommandLine Line(ProgramKind kind, std::u16string_view argumentTemplate, const PageFacts16& facts,
                 const LineEnvironment& environment = Japanese()) {
  return BuildCommandLine(kApp, kind, SubstituteArgumentsAsData(argumentTemplate, facts, kClock),
                          environment);
}

// The arguments of the line, after the program (for a batch file: what
// cmd.exe's /c is given after the batch file's path, without the host's
// closing quote).
Built Build(ProgramKind kind, std::u16string_view argumentTemplate, const PageFacts16& facts,
            const LineEnvironment& environment = Japanese()) {
  const CommandLine line = Line(kind, argumentTemplate, facts, environment);
  const std::u16string program = u"\"" + std::u16string(kApp) + u"\" ";
  if (line.refusal != LineRefusal::None) {
    EXPECT_TRUE(line.text.empty());
    return {{}, line.refusal};
  }
  if (kind == ProgramKind::Batch) {
    EXPECT_EQ(line.application, kTestSystemCmd);
    const std::u16string start = std::u16string(kBatchStart) + program;
    EXPECT_EQ(line.text.substr(0, start.size()), start);
    EXPECT_EQ(line.text.back(), u'"');
    return {line.text.substr(start.size(), line.text.size() - start.size() - 1), LineRefusal::None};
  }
  EXPECT_EQ(line.application, kApp);
  EXPECT_EQ(line.text.substr(0, program.size()), program);
  return {line.text.substr(std::min(program.size(), line.text.size())), LineRefusal::None};
}

PageFacts16 Facts(std::u16string title, std::u16string link = u"", std::u16string selection = u"") {
  PageFacts16 facts;
  facts[Fact::TopTitle] = std::move(title);
  facts[Fact::LinkUrl] = std::move(link);
  facts[Fact::SelectionText] = std::move(selection);
  return facts;
}

using Args = std::vector<std::u16string>;

struct LineCase {
  std::u16string_view argumentTemplate;
  PageFacts16 facts;
  std::u16string_view line;  // the arguments; "" when refused
};

// The arguments a kind of program gets, or, where the case has none, the refusal.
void ExpectLineOrRefusal(ProgramKind kind, const LineCase& c, LineRefusal refusal) {
  const Built built = Build(kind, c.argumentTemplate, c.facts);
  EXPECT_EQ(built.refusal, c.line.empty() ? refusal : LineRefusal::None) << U8(c.argumentTemplate);
  if (!c.line.empty()) {
    EXPECT_EQ(built.arguments, c.line) << U8(c.argumentTemplate);
  }
}

// Every way Windows and the C runtimes read a line give these arguments:
// CommandLineToArgvW, the old and new rules for quotes in a row, and the
// ANSI line of the system (code page 932 unless told), with best fit.
void ExpectEveryReadingGives(std::u16string_view arguments, const Args& expected, const std::string& what,
                             const AnsiCodePage& ansi = Japanese().systemAnsi) {
  EXPECT_EQ(SplitArguments(arguments), expected) << what;
  std::vector<std::string> expectedAnsi;
  for (const std::u16string& argument : expected) expectedAnsi.push_back(ansi.convert(argument));
  for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
    EXPECT_EQ(SplitCrtArguments(arguments, rule), expected) << what;
    EXPECT_EQ(SplitCrtArguments(ansi.convert(arguments), rule, ansi.isLeadByte), expectedAnsi) << what;
  }
}

// A system whose ANSI code page is 1252, where full-width quotes,
// backslashes and blanks become syntax.
LineEnvironment Western(std::u16string_view batchFile = kHandsOn) {
  return {{Cp1252WithBestFit, [](unsigned char) { return false; }},
          std::u16string(kTestSystemCmd),
          std::u16string(batchFile)};
}

// The text with every character but quotes counted as the page's: for
// templates that hold no operator, caret or percent sign of their own.
MarkedText AllButQuotesFromPage(std::u16string_view text) {
  MarkedText marked;
  for (const char16_t c : text) marked.Append(c, c != u'"');
  return marked;
}

// A batch line as cmd.exe reads it: no operator outside quotes, in the
// line or in the batch file's second reading; the text "%*" hands on.
std::u16string ReadBatchLineAsCmd(std::u16string_view line, const std::string& what) {
  const std::u16string_view afterName = line.substr(std::u16string_view(u"cmd.exe ").size());
  const CmdCommands read = ReadCmdCommand(AllButQuotesFromPage(afterName));
  EXPECT_FALSE(read.commands.empty()) << what;
  if (read.commands.empty()) return {};
  const MarkedText& command = read.commands.back();
  EXPECT_TRUE(CmdTakesPageAsText(command, false)) << what;
  const CmdWords words = SplitCmdName(command);
  EXPECT_EQ(words.name.text, u"\"" + std::u16string(kApp) + u"\"") << what;
  EXPECT_TRUE(BatchFileTakesPageAsText(kHandsOn, words.arguments, ArgumentUseOfProgram)) << what;
  return words.arguments.text;
}

// A line given to cmd.exe by an item that runs it (the template's prefix,
// arguments and suffix), read as cmd.exe reads it: every command the /c
// rule may leave starts the template's program, with no page character as
// an operator; the text after the program in each.
std::vector<std::u16string> ReadCmdItemLine(std::u16string_view arguments, std::u16string_view prefix,
                                            std::u16string_view suffix, std::u16string_view program,
                                            const std::string& what) {
  EXPECT_EQ(arguments.substr(0, prefix.size()), prefix) << what;
  EXPECT_GE(arguments.size(), prefix.size() + suffix.size()) << what;
  if (arguments.size() < prefix.size() + suffix.size()) return {};
  EXPECT_EQ(arguments.substr(arguments.size() - suffix.size()), suffix) << what;
  MarkedText afterName;
  afterName.Append(prefix, false);
  afterName.Append(AllButQuotesFromPage(
      arguments.substr(prefix.size(), arguments.size() - prefix.size() - suffix.size())));
  afterName.Append(suffix, false);
  const CmdCommands read = ReadCmdCommand(afterName);
  EXPECT_FALSE(read.pageInSwitches) << what;
  EXPECT_FALSE(read.commands.empty()) << what;
  std::vector<std::u16string> texts;
  for (const MarkedText& command : read.commands) {
    EXPECT_TRUE(CmdTakesPageAsText(command, false)) << what << " read " << U8(command.text);
    const CmdWords words = SplitCmdName(command);
    EXPECT_EQ(words.name.text, program) << what;
    texts.push_back(words.arguments.text);
  }
  return texts;
}

TEST(WindowsArguments, SplitLikeCommandLineToArgvW) {
  const struct {
    std::u16string_view text;
    Args arguments;
    bool open;
  } cases[] = {
      {u"", {}, false},
      {u"  \t ", {}, false},
      {u"a b\tc", {u"a", u"b", u"c"}, false},
      {u"\"a b\" c", {u"a b", u"c"}, false},
      {u"\"\"", {u""}, false},
      {u"a\"b c\"d", {u"ab cd"}, false},
      {u"a\\b \\\\c", {u"a\\b", u"\\\\c"}, false},
      {u"a\\\"b", {u"a\"b"}, false},
      {u"a\\\\\"b c\"", {u"a\\b c"}, false},
      {u"a\\\\\\\"b", {u"a\\\"b"}, false},
      {u"\"a\"\"\"b", {u"a\"b"}, true},
      {u"\"a\"\"b\"", {u"a\"b"}, true},
      {u"\"\"\"a\"\"\"", {u"\"a\""}, false},
      {u"\"open", {u"open"}, true},
      {u"a\r\nb", {u"a\r\nb"}, false},
  };
  for (const auto& c : cases) {
    bool open = !c.open;
    EXPECT_EQ(SplitArguments(c.text, &open), c.arguments) << U8(c.text);
    EXPECT_EQ(open, c.open) << U8(c.text);
  }
}

TEST(WindowsArguments, QuotedArgumentsComeBackWhole) {
  const std::u16string_view cases[] = {u"",
                                       u"a",
                                       u"a b",
                                       u"\"",
                                       u"\\",
                                       u"a\\",
                                       u"a\\\\",
                                       u"\\\"",
                                       u"\"\"\"",
                                       u"C:\\Program Files\\",
                                       u"x\" --evil \"y",
                                       u"\t\r\n"};
  for (const std::u16string_view argument : cases) {
    const std::u16string quoted = QuoteArgument(argument);
    EXPECT_EQ(SplitArguments(quoted), Args{std::u16string(argument)}) << U8(quoted);
    // Every quote inside is escaped: the C runtimes differ only on quotes
    // in a row that are not.
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
      if (quoted[i] != u'"') continue;
      std::size_t backslashes = 0;
      while (backslashes < i && quoted[i - 1 - backslashes] == u'\\') ++backslashes;
      EXPECT_EQ(backslashes % 2, 1u) << U8(quoted);
    }
  }
}

// Quoting for a program that may read the ANSI line, where best fit turns
// the yen sign into a backslash (code page 932): no look-alike is left
// before a quote, a run of them at the end goes after the closing quote,
// and what cannot be kept whole is not quoted at all.
TEST(WindowsArguments, QuoteForEveryReadingKeepsLookAlikesAwayFromQuotes) {
  const auto yen = [](char16_t c) { return c == u'¥'; };
  const auto fullWidthQuote = [](char16_t c) { return c == u'\uFF02'; };
  const struct {
    std::u16string_view argument;
    std::optional<std::u16string> quoted;
  } cases[] = {
      {u"abc¥", u"\"abc\"¥"},      {u"a b¥\\¥", u"\"a b\"¥\\¥"},       {u"¥", u"\"\"¥"},
      {u"¥x y", u"\"¥x y\""},      {u"a¥b\"c", u"\"a¥b\\\"c\""},       {u"a\\", u"\"a\\\\\""},
      {u"a\"b", u"\"a\\\"b\""},    {u"x¥\" --evil \"y", std::nullopt}, {u"x\\¥\"y", std::nullopt},
      {u"a\uFF02b", std::nullopt}, {u"a¥\uFF02", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<std::u16string> quoted =
        QuoteArgumentForEveryReading(c.argument, yen, fullWidthQuote);
    EXPECT_EQ(quoted, c.quoted) << U8(c.argument);
    if (quoted) ExpectEveryReadingGives(*quoted, {std::u16string(c.argument)}, U8(c.argument));
  }
}

// The C runtimes' split, on the examples of Microsoft's "Parsing C++
// command-line arguments", and on runs of quotes, where the old runtime
// (msvcrt) and the new ones (the UCRT) part ways.
TEST(WindowsArguments, CrtSplitOldAndNew) {
  const struct {
    std::u16string_view text;
    Args old, now;
  } cases[] = {
      {u"\"abc\" d e", {u"abc", u"d", u"e"}, {u"abc", u"d", u"e"}},
      {u"a\\\\b d\"e f\"g h", {u"a\\\\b", u"de fg", u"h"}, {u"a\\\\b", u"de fg", u"h"}},
      {u"a\\\\\\\"b c d", {u"a\\\"b", u"c", u"d"}, {u"a\\\"b", u"c", u"d"}},
      {u"a\\\\\\\\\"b c\" d e", {u"a\\\\b c", u"d", u"e"}, {u"a\\\\b c", u"d", u"e"}},
      {u"a\"b\"\" c d", {u"ab\"", u"c", u"d"}, {u"ab\" c d"}},
      {u"\"a\"\"\"b c\"", {u"a\"b c"}, {u"a\"b", u"c"}},
      {u"\"\" x", {u"", u"x"}, {u"", u"x"}},
      {u"  \t", {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCrtArguments(c.text, QuoteRuns::Old), c.old) << U8(c.text);
    EXPECT_EQ(SplitCrtArguments(c.text, QuoteRuns::New), c.now) << U8(c.text);
  }
  // CommandLineToArgvW reads runs of quotes as the old runtime does.
  for (const auto& c : cases) EXPECT_EQ(SplitArguments(c.text), c.old) << U8(c.text);
}

// A program that reads the ANSI line splits bytes: a double-byte
// character's trail byte 0x5C (表 is 95 5C) is no backslash.
TEST(WindowsArguments, AnsiSplitKeepsDoubleByteCharactersWhole) {
  const struct {
    std::string_view text;
    std::vector<std::string> arguments;
  } cases[] = {
      {"\"\x95\x5C\" x", {"\x95\x5C", "x"}},
      {"\x95\x5C\"a b\"",
       {"\x95\x5C"
        "a b"}},
      {"\\\" \x83\x5C", {"\"", "\x83\x5C"}},
      {"\"abc\\\" --fixed", {"abc\" --fixed"}},
  };
  for (const auto& c : cases) {
    for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
      EXPECT_EQ(SplitCrtArguments(c.text, rule, IsCp932LeadByte), c.arguments) << c.text;
    }
  }
}

// What Windows' best fit turns into syntax for a program that reads the
// ANSI line: on a Japanese system the yen sign becomes a backslash and the
// soft hyphen a dash, on a Western one the full-width quote a quote.
TEST(CommandLine, EveryReadingOfAnAnsiProgramAgrees) {
  const LineEnvironment western = Western();
  const struct {
    std::u16string_view argumentTemplate;
    PageFacts16 facts;
    std::u16string_view line;  // after the program; "" when refused
    Args arguments;
    const LineEnvironment* environment = nullptr;
  } cases[] = {
      // The quote closes before a yen sign at the end of a value.
      {u"\"<TT>\" --fixed", Facts(u"abc¥"), u"\"abc\"¥ --fixed", {u"abc¥", u"--fixed"}},
      {u"\"<TT>\" --fixed", Facts(u"a b¥\\¥"), u"\"a b\"¥\\¥ --fixed", {u"a b¥\\¥", u"--fixed"}},
      {u"--title=<TT> --url=<TU>", Facts(u"a b¥"), u"\"--title=a b\"¥ --url=", {u"--title=a b¥", u"--url="}},
      {u"\"<TT>\" \"<ST>\"", Facts(u"x¥", u"", u"y"), u"\"x\"¥ \"y\"", {u"x¥", u"y"}},
      // A yen sign right before a quote of the value cannot be written so,
      // in the first argument, after an option's name, or in the second.
      {u"\"<TT>\" --fixed", Facts(u"x¥\" --evil \"y"), u"", {}},
      {u"--title=<TT> --url=<AU>", Facts(u"abc¥", u"x¥\" --evil \"y"), u"", {}},
      {u"\"<TT>\" \"<ST>\"", Facts(u"abc¥", u"", u"x¥\" --evil \"y"), u"", {}},
      // Plain values go through as the script writes them.
      {u"\"<TT>\"", Facts(u"price ¥1,000"), u"\"price ¥1,000\"", {u"price ¥1,000"}},
      {u"<TT> x", Facts(u"表¥"), u"表¥ x", {u"表¥", u"x"}},
      {u"\"<TT>\"", Facts(u"ソフト 表示"), u"\"ソフト 表示\"", {u"ソフト 表示"}},
      // Code page 1252: a full-width quote is a quote there, a full-width
      // blank a blank.
      {u"\"<TT>\" x", Facts(u"a\uFF02 --evil"), u"", {}, &western},
      {u"<TT> x", Facts(u"a\u3000b"), u"\"a\u3000b\" x", {u"a\u3000b", u"x"}, &western},
      {u"\"<TT>\" x", Facts(u"a\uFF3C"), u"\"a\"\uFF3C x", {u"a\uFF3C", u"x"}, &western},
  };
  for (const auto& c : cases) {
    const LineEnvironment environment = c.environment ? *c.environment : Japanese();
    const Built built = Build(ProgramKind::Program, c.argumentTemplate, c.facts, environment);
    if (c.line.empty()) {
      EXPECT_EQ(built.refusal, LineRefusal::PageFormsOption) << U8(c.argumentTemplate);
      continue;
    }
    ASSERT_EQ(built.refusal, LineRefusal::None) << U8(c.argumentTemplate);
    EXPECT_EQ(built.arguments, c.line) << U8(c.argumentTemplate) << " gave " << U8(built.arguments);
    ExpectEveryReadingGives(built.arguments, c.arguments, U8(c.argumentTemplate), environment.systemAnsi);
  }
}

// The published best-fit rows that turn into syntax, each in a title amid
// text and at the end of a quoted value: the ANSI program gets the
// documented byte where the character stood, inside its own argument, or
// the pick is refused where no escape can keep it there.
TEST(CommandLine, BestFitRowsStayInsideTheirArgument) {
  const struct {
    bool japanese;
    char16_t character;
    char becomes;
    bool refused;  // a quote: nothing keeps it inside the argument
  } rows[] = {
      {true, u'\u00A5', '\\', false}, {true, u'\u00AD', '-', false}, {true, u'\u00A6', '|', false},
      {true, u'\u00A1', '!', false},  {false, u'\uFF02', '"', true}, {false, u'\uFF3C', '\\', false},
      {false, u'\u3000', ' ', false},
  };
  for (const auto& row : rows) {
    const LineEnvironment environment = row.japanese ? Japanese() : Western();
    const AnsiCodePage& ansi = environment.systemAnsi;
    const std::string what = std::to_string(row.character);
    EXPECT_EQ(ansi.convert(std::u16string(1, row.character)), std::string(1, row.becomes)) << what;
    for (const std::u16string& title :
         {u"a" + std::u16string(1, row.character) + u"b", u"a b" + std::u16string(1, row.character)}) {
      for (const std::u16string_view argumentTemplate : {u"\"<TT>\" --fixed", u"<TT> --fixed"}) {
        const Built built = Build(ProgramKind::Program, argumentTemplate, Facts(title), environment);
        if (row.refused) {
          EXPECT_EQ(built.refusal, LineRefusal::PageFormsOption) << what;
          continue;
        }
        ASSERT_EQ(built.refusal, LineRefusal::None) << what << U8(argumentTemplate);
        std::string expected;
        for (const char16_t c : title) expected += c == row.character ? row.becomes : static_cast<char>(c);
        for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
          EXPECT_EQ(SplitCrtArguments(ansi.convert(built.arguments), rule, ansi.isLeadByte),
                    (std::vector<std::string>{expected, "--fixed"}))
              << what << U8(argumentTemplate) << " gave " << U8(built.arguments);
        }
      }
    }
  }
}

// A page value never begins an argument with what programs take for an
// option, in the Unicode or the ANSI reading; quotes do not help, since
// programs take them off first.
TEST(CommandLine, NoOptionFromThePage) {
  const struct {
    ProgramKind kind;
    std::u16string_view argumentTemplate;
    PageFacts16 facts;
    bool refused;
  } cases[] = {
      {ProgramKind::Program, u"<ST>", Facts(u"", u"", u"--renderer-cmd-prefix=x.exe"), true},
      {ProgramKind::Program, u"\"<TT>\"", Facts(u"/evil"), true},
      {ProgramKind::Program, u"\"<TT>\"", Facts(u"--evil"), true},
      {ProgramKind::Program, u"x \"\"<TT>", Facts(u"-e"), true},
      {ProgramKind::Program, u"<ST>", Facts(u"", u"", u"\u00AD-evil"), true},
      // The soft hyphen that became PHP-CGI's "-d" on Japanese systems.
      {ProgramKind::Program, u"<ST> x", Facts(u"", u"", u"\u00ADd allow_url_include=1"), true},
      {ProgramKind::Program, u"<TT> <ST>", Facts(u"", u"", u"-x"), true},
      {ProgramKind::Batch, u"<AU>", Facts(u"", u"/min"), true},
      {ProgramKind::Cmd, u"/c start \"\" \"<AU>\"", Facts(u"", u"/min"), true},
      // The program an item's cmd.exe starts reads its arguments after /c's
      // quote rule: the careful idiom's quotes group nothing for it.
      {ProgramKind::Cmd, u"/s /c \"\"C:\\Tools\\view.exe\" <TT>\"", Facts(u"--evil"), true},
      {ProgramKind::Cmd, u"/s /c \"\"C:\\Tools\\view.exe\" \"<TT>\" x\"", Facts(u"/evil"), true},
      {ProgramKind::Cmd, u"/c C:\\Tools\\view.exe <TT>", Facts(u"\u00ADevil"), true},
      {ProgramKind::Cmd, u"/s /c \"\"C:\\Tools\\view.exe\" --title=<TT>\"", Facts(u"--evil"), false},
      {ProgramKind::Cmd, u"/s /c \"\"C:\\Tools\\view.exe\" -- <TT>\"", Facts(u"--evil"), false},
      {ProgramKind::ScriptHost, u"rec.vbs <TT>", Facts(u"-x"), true},
      // Inside an argument the template starts, or after "--": data.
      {ProgramKind::Program, u"--title=<TT>", Facts(u"--evil"), false},
      {ProgramKind::Program, u"-- <ST>", Facts(u"", u"", u"--evil"), false},
      {ProgramKind::Program, u"--x -- <TT> <ST>", Facts(u"/a", u"", u"-b"), false},
      {ProgramKind::Program, u"<TT> -- <ST>", Facts(u"-a", u"", u"-b"), true},
      {ProgramKind::Program, u"\"--\" <ST>", Facts(u"", u"", u"-b"), false},
      {ProgramKind::Program, u"x<TT>", Facts(u"-a"), false},
      {ProgramKind::Program, u"<TT>", Facts(u"a-b /c"), false},
      {ProgramKind::Batch, u"-- <AU>", Facts(u"", u"-x"), false},
      // Orbisk's launchers read options by grammars the host knows.
      {ProgramKind::Clipsy, u"<ST>", Facts(u"", u"", u"-x"), false},
  };
  for (const auto& c : cases) {
    const Built built = Build(c.kind, c.argumentTemplate, c.facts);
    EXPECT_EQ(built.refusal, c.refused ? LineRefusal::PageFormsOption : LineRefusal::None)
        << U8(c.argumentTemplate) << " with " << U8(c.facts[Fact::TopTitle]) << U8(c.facts[Fact::LinkUrl])
        << U8(c.facts[Fact::SelectionText]);
  }
}

// An item that runs cmd.exe itself: cmd.exe's /c rule decides which quotes
// stay, and a page operator must end up inside one of them.
TEST(CommandLine, CmdItemsKeepThePageInsideQuotes) {
  const LineCase cases[] = {
      {u"/c start \"\" \"<AU>\"", Facts(u"", u"http://x.test/?a=1&calc"),
       u"/c start \"\" \"http://x.test/?a=1&calc\""},
      {u"/c start \"\" <AU>", Facts(u"", u"http://x.test/?a=1&calc"),
       u"/c start \"\" \"http://x.test/?a=1&calc\""},
      {u"/s /c \"\"C:\\Tools\\view.exe\" \"<AU>\"\"", Facts(u"", u"http://x.test/?a=1&calc"),
       u"/s /c \"\"C:\\Tools\\view.exe\" \"http://x.test/?a=1&calc\"\""},
      // /c takes the first and last quote off: the link's ampersand would
      // be outside quotes, and with quotes of the host's own the link would
      // be part of the name of the program cmd.exe looks for.
      {u"/c \"C:\\Tools\\view.exe\" \"<AU>\"", Facts(u"", u"http://x.test/?a=1&calc"), u""},
      // Two quotes alone: /c takes both off.
      {u"/c \"C:\\Tools\\view.exe\" <AU>", Facts(u"", u"http://x.test/a"),
       u"/c \"C:\\Tools\\view.exe\" http://x.test/a"},
      {u"/c echo <TT>", Facts(u"a|b>c"), u"/c echo \"a|b>c\""},
      // After /c took the idiom's outer quotes off, an empty value stands
      // outside quotes: it keeps its place as "", or "end" would move into it.
      {u"/s /c \"\"C:\\Tools\\view.exe\" <TT> end\"", Facts(u""),
       u"/s /c \"\"C:\\Tools\\view.exe\" \"\" end\""},
      {u"/c echo %<TT>%", Facts(u"OS"), u""},
      {u"<TT> /c echo", Facts(u"x"), u""},
      {u"/c echo <TT>", Facts(u"100%"), u""},
  };
  // The program cmd.exe starts would read a yen sign before the quote as a
  // backslash in its ANSI line, and the value would run into the next
  // argument.
  EXPECT_EQ(Build(ProgramKind::Cmd, u"/s /c \"\"C:\\Tools\\view.exe\" \"<TT>\" x\"", Facts(u"a¥")).refusal,
            LineRefusal::PageFormsOption);
  for (const auto& c : cases) {
    ExpectLineOrRefusal(ProgramKind::Cmd, c, LineRefusal::UnsafeForBatch);
    const Built built = Build(ProgramKind::Cmd, c.argumentTemplate, c.facts);
    if (built.refusal != LineRefusal::None) continue;
    // Whatever cmd.exe makes of its quotes, the value's operators stay inside.
    MarkedText afterName;
    const std::u16string& value =
        c.facts[Fact::LinkUrl].empty() ? c.facts[Fact::TopTitle] : c.facts[Fact::LinkUrl];
    const std::size_t at = built.arguments.find(value);
    ASSERT_NE(at, std::u16string::npos);
    afterName.Append(std::u16string_view(built.arguments).substr(0, at), false);
    afterName.Append(value, true);
    afterName.Append(std::u16string_view(built.arguments).substr(at + value.size()), false);
    for (const MarkedText& command : ReadCmdCommand(afterName).commands) {
      EXPECT_TRUE(CmdTakesPageAsText(command, true)) << U8(command.text);
    }
  }
}

// The page never chooses what runs: not the command or START's target of
// cmd.exe (but for a web address, which the browser opens), nor what
// explorer.exe or rundll32.exe open, nor mshta.exe's application, nor a
// script host's script, nor PowerShell's code; it only fills a program's
// arguments.
TEST(CommandLine, PageNeverChoosesWhatRuns) {
  constexpr std::u16string_view cmd = u"C:\\Windows\\System32\\cmd.exe",
                                explorer = u"C:\\Windows\\explorer.exe", rundll = u"rundll32.exe",
                                mshta = u"C:\\Windows\\System32\\mshta.exe",
                                powershell =
                                    u"C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe",
                                pwsh = u"C:\\Program Files\\PowerShell\\7\\pwsh.exe",
                                wscript = u"C:\\Windows\\System32\\wscript.exe", batch = u"C:\\t\\open.bat";
  const std::u16string calc = u"file:///C:/Windows/System32/calc.exe", share = u"\\\\server\\share\\x.exe",
                       web = u"https://x.test/?a=1&b=2";
  constexpr LineRefusal None = LineRefusal::None, Path = LineRefusal::PageNamesPath,
                        Code = LineRefusal::PageIsCode, Option = LineRefusal::PageFormsOption,
                        Batch = LineRefusal::UnsafeForBatch;
  const struct {
    std::u16string_view application, argumentTemplate;
    std::u16string link;
    LineRefusal refusal;
    std::u16string_view batchFile = kHandsOn;
  } cases[] = {
      {cmd, u"/c start \"\" \"<AU>\"", web, None},
      {cmd, u"/c start \"\" \"<AU>\"", calc, Path},
      {cmd, u"/c start \"\" \"<AU>\"", share, Path},
      {cmd, u"/c start \"\" <AU>", u"calc", Path},
      {cmd, u"/c start \"\" \"<AU>\"", u"ms-msdt:/id PCWDiagnostic", Path},
      {cmd, u"/c \"<AU>\"", u"calc", Path},
      {cmd, u"/c <AU> x", u"calc", Path},
      {cmd, u"/c echo x > <AU>", u"C:\\x.txt", Path},
      {cmd, u"/s /c \"\"C:\\Tools\\view.exe\" \"<AU>\"\"", calc, None},
      // cmd.exe however its path is written (without its extension it would not start).
      {u"C:\\Windows\\System32\\CMD", u"/c start \"\" <AU>", u"calc", Path},
      {u"C:\\Windows\\System32\\cmd.exe::$DATA", u"/c start \"\" <AU>", u"calc", Path},
      {explorer, u"\"<AU>\"", web, None},
      {explorer, u"\"<AU>\"", calc, Path},
      {explorer, u"<AU>", share, Path},
      {explorer, u"\"<AU>\"", u"", None},
      {explorer, u"/select,\"C:\\Users\\<AU>\"", u"..\\..\\Windows\\System32\\calc.exe", Path},
      {rundll, u"url.dll,FileProtocolHandler <AU>", web, None},
      {rundll, u"url.dll,FileProtocolHandler <AU>", share, Path},
      {mshta, u"\"<AU>\"", u"http://x.test/a.hta", Path},
      {mshta, u"C:\\t\\view.hta \"<AU>\"", calc, None},
      {powershell, u"-NoProfile -Command \"Start-Process '<AU>'\"", u"x'; calc; '", Code},
      {powershell, u"-c \"echo <AU>\"", u"$(calc)", Code},
      {powershell, u"-EncodedCommand <AU>", u"YwBhAGwAYwA=", Code},
      {powershell, u"C:\\t\\x.ps1 \"<AU>\"", u"x", Code},
      {powershell, u"-ExecutionPolicy Bypass -File C:\\t\\x.ps1 \"<AU>\"", u"$(calc)", None},
      {pwsh, u"-f C:\\t\\x.ps1 <AU>", u"x y", None},
      {pwsh, u"-File \"<AU>\"", u"\\\\server\\x.ps1", Path},
      {wscript, u"\"<AU>\"", u"\\\\server\\evil.vbs", Path},
      {wscript, u"//nologo <AU>", u"evil.vbs", Path},
      {wscript, u"//nologo C:\\t\\a.vbs \"<AU>\"", calc, None},
      // A batch file's lines that start what its arguments name.
      {batch, u"<AU>", web, None, u"start \"\" %1\r\n"},
      {batch, u"<AU>", u"calc", Path, u"start \"\" %1\r\n"},
      {batch, u"\"<AU>\"", u"calc", Path, u"@%~1\r\n"},
      {batch, u"<AU>", calc, Path, u"@if not \"%~1\"==\"\" start \"\" \"%~1\"\r\n"},
      {batch, u"<AU>", u"calc", Path, u"@call \"%~dp0inner.bat\" %*\r\n"},
      // What a batch file's line hands on, once %~1 took the host's quotes
      // off: no option after a page blank, no value read otherwise by a
      // program that reads the ANSI line.
      {batch, u"<AU>", u"a --evil", Option, u"@\"%~dp0viewer.exe\" %~1\r\n"},
      {batch, u"<AU>", u"https://x.test/a b", None, u"@\"%~dp0viewer.exe\" %~1\r\n"},
      {batch, u"<AU>", u"a¥", Option, u"@\"%~dp0viewer.exe\" \"%~1\" --fixed\r\n"},
      {batch, u"<AU>", u"a\v--evil", Batch, u"@\"%~dp0viewer.exe\" %1 %2\r\n"},
      {explorer, u"<AU>", u"http://x.test/,C:\\Windows\\System32\\calc.exe", Path},
      {mshta, u"vbscript:Execute(\"MsgBox(1)\") <AU>", u":Execute(x)", Path},
      {powershell, u"-File C:\\t\\x.ps1 <AU>", u"\u2013Evil", Option},
  };
  for (const auto& c : cases) {
    const CommandLine line = BuildCommandLine(
        c.application, KindOfProgramFile(c.application, u"", u""),
        SubstituteArgumentsAsData(c.argumentTemplate, Facts(u"", c.link), kClock), Japanese(c.batchFile));
    EXPECT_EQ(line.refusal, c.refusal) << U8(c.application) << " " << U8(c.argumentTemplate) << " with "
                                       << U8(c.link) << " gave " << U8(line.text);
    EXPECT_EQ(line.text.empty(), c.refusal != None) << U8(c.argumentTemplate);
  }
}

TEST(CommandLine, ProgramGetsEachValueAsItsTemplateArgument) {
  const struct {
    std::u16string_view argumentTemplate;
    PageFacts16 facts;
    std::u16string_view line;  // after the program
    Args arguments;
  } cases[] = {
      // Nothing needs escaping: the script's own line.
      {u"<TT> \"<AU>\" -x",
       Facts(u"Title", u"http://a/?b=1&c=2"),
       u"Title \"http://a/?b=1&c=2\" -x",
       {u"Title", u"http://a/?b=1&c=2", u"-x"}},
      {u"\"<TT>\"", Facts(u"a b"), u"\"a b\"", {u"a b"}},
      {u"<TT>", Facts(u"C:\\dir\\"), u"C:\\dir\\", {u"C:\\dir\\"}},
      // A quote inside the template's quotes is escaped where it stands.
      {u"\"<AU>\"",
       Facts(u"", u"javascript:x\" --some-switch \"y"),
       u"\"javascript:x\\\" --some-switch \\\"y\"",
       {u"javascript:x\" --some-switch \"y"}},
      {u"\"<TT>\"", Facts(u"a\\\\\"b"), u"\"a\\\\\\\\\\\"b\"", {u"a\\\\\"b"}},
      {u"\"<TT>\"", Facts(u"dir\\"), u"\"dir\\\\\"", {u"dir\\"}},
      // Outside quotes the whole argument is quoted, the template's text
      // joined to the value included.
      {u"<ST>", Facts(u"", u"", u"x --some-switch=1"), u"\"x --some-switch=1\"", {u"x --some-switch=1"}},
      {u"--title=<TT> -v",
       Facts(u"My \"Page\""),
       u"\"--title=My \\\"Page\\\"\" -v",
       {u"--title=My \"Page\"", u"-v"}},
      {u"<TT>\t<AU>", Facts(u"a\tb", u"c"), u"\"a\tb\"\tc", {u"a\tb", u"c"}},
      // An empty value keeps its place.
      {u"<TT> <AU> end", Facts(u"", u""), u"\"\" \"\" end", {u"", u"", u"end"}},
      {u"\"<TT>\" end", Facts(u""), u"\"\" end", {u"", u"end"}},
      // At the end it moves nothing: the script's line.
      {u"<TT> <AU>", Facts(u"t", u""), u"t ", {u"t"}},
      {u"<TT> <AU> <ST>", Facts(u"", u"", u""), u"  ", {}},
      // A token in a value is text; date and time are the template's.
      {u"<TT> <Y4>", Facts(u"<TU><Y4>"), u"<TU><Y4> 2024", {u"<TU><Y4>", u"2024"}},
      {u"<TT>", Facts(u"表題 😀"), u"\"表題 😀\"", {u"表題 😀"}},
  };
  for (const auto& c : cases) {
    const Built built = Build(ProgramKind::Program, c.argumentTemplate, c.facts);
    ASSERT_EQ(built.refusal, LineRefusal::None) << U8(c.argumentTemplate);
    EXPECT_EQ(built.arguments, c.line) << U8(c.argumentTemplate) << " gave " << U8(built.arguments);
    EXPECT_EQ(SplitArguments(built.arguments), c.arguments) << U8(c.argumentTemplate);
  }
}

// Random arguments of literal text and values, quoted or not in the
// template, for a program, a batch file that hands "%*" on, and a program
// that an item's cmd.exe starts, on a Japanese or a Western system:
// whatever the values hold, the program gets exactly them in every reading
// (cmd.exe's first, where it reads the line; then the C runtimes' and the
// ANSI code page's), or the pick is refused for a reason the values give.
TEST(CommandLine, AnyValuesComeBackAsTheirArguments) {
  std::mt19937 random(1729);
  const auto below = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const std::u16string_view valuePieces[] = {
      u"\"",   u"\\",  u"\\\\", u" ",      u"\t",     u"a",      u"表",     u"<TU>",   u"\"\"",
      u"\r\n", u"--x", u"😀",    u"&",      u"%OS%",   u"'",      u"¥",      u"\u00AD", u"|<>",
      u",;=",  u"(1)", u"ソ",   u"\u00A6", u"\u00A1", u"\uFF02", u"\uFF3C", u"\u3000"};
  const std::u16string_view literals[] = {u"", u"-", u"--x=", u"a", u"表", u"\\", u"C:\\d\\"};
  const std::u16string_view tokens[] = {u"<TT>", u"<AU>", u"<FT>", u"<IA>"};
  const Fact tokenFacts[] = {Fact::TopTitle, Fact::LinkUrl, Fact::FrameTitle, Fact::ImageAlt};
  // An item that runs cmd.exe: the careful /s idiom, or the program unquoted.
  constexpr std::u16string_view cmdProgram = u"C:\\Tools\\view.exe";
  const struct {
    std::u16string_view prefix, suffix, name;
  } cmdForms[] = {
      {u"/s /c \"\"C:\\Tools\\view.exe\" ", u" end\"", u"\"C:\\Tools\\view.exe\""},
      {u"/d /c C:\\Tools\\view.exe ", u" end", cmdProgram},
  };
  int plainRounds = 0, started[3] = {0, 0, 0}, western = 0;
  for (int round = 0; round < 6000; ++round) {
    const int kindIndex = round % 3;
    const ProgramKind kind = kindIndex == 0   ? ProgramKind::Program
                             : kindIndex == 1 ? ProgramKind::Batch
                                              : ProgramKind::Cmd;
    const bool byCmd = kind != ProgramKind::Program;
    const bool japanese = below(4) != 0;
    const LineEnvironment environment = japanese ? Japanese() : Western();
    // What best fit turns into a backslash, a quote or a dash on the system.
    const std::u16string_view toBackslash = japanese ? u"¥" : u"\uFF3C";
    const std::u16string_view toQuote = japanese ? u"" : u"\uFF02";
    const std::u16string_view toDash = japanese ? u"-\u00AD" : u"-";
    const std::u16string_view toBlank = japanese ? u"" : u"\u3000";
    PageFacts16 facts;
    bool plain = true, ansiBreaks = false;
    for (const Fact fact : tokenFacts) {
      const std::size_t count = below(4);
      for (std::size_t i = 0; i < count; ++i) {
        const std::u16string_view piece = valuePieces[below(std::size(valuePieces))];
        // cmd.exe could not be given these safely: it never gets them.
        if (byCmd && piece.find_first_of(u"\"%\r\n") != std::u16string_view::npos) continue;
        facts[fact] += piece;
      }
      const std::u16string& value = facts[fact];
      if (value.empty() || value.find_first_of(u" \t\"\\<¥\u00AD-\uFF02\uFF3C\u3000") != std::u16string::npos)
        plain = false;
      // A quote in the ANSI line that no escape can keep in its argument,
      // or a backslash there before a quote of the value.
      if (!toQuote.empty() && value.find_first_of(toQuote) != std::u16string::npos) ansiBreaks = true;
      // An item's cmd.exe line puts no quotes around a value for a blank
      // that only the ANSI reading sees.
      if (kind == ProgramKind::Cmd && !toBlank.empty() &&
          value.find_first_of(toBlank) != std::u16string::npos)
        ansiBreaks = true;
      for (std::size_t i = value.find_first_of(toBackslash); i != std::u16string::npos;
           i = value.find_first_of(toBackslash, i + 1)) {
        const std::size_t next = value.find_first_not_of(u"\\" + std::u16string(toBackslash), i);
        if (next != std::u16string::npos && value[next] == u'"') ansiBreaks = true;
        // An item's cmd.exe line has no other form for one at the end of a
        // value, where a quote may follow.
        if (next == std::u16string::npos && kind == ProgramKind::Cmd) ansiBreaks = true;
      }
    }
    std::u16string argumentTemplate;
    Args expected;
    std::vector<bool> vanishes;
    bool option = false;
    const std::size_t count = 1 + below(3);
    for (std::size_t a = 0; a < count; ++a) {
      const std::size_t t = below(std::size(tokens));
      // No backslash right before a template quote: it would escape it.
      const std::u16string_view before = literals[below(std::size(literals))];
      const std::u16string_view after = literals[below(4)];
      const bool quoted = below(2) == 1;
      argumentTemplate += std::u16string(a ? u" " : u"") + std::u16string(before) + (quoted ? u"\"" : u"") +
                          std::u16string(tokens[t]) + (quoted ? u"\"" : u"") + std::u16string(after);
      if (quoted && !before.empty() && before.back() == u'\\') {
        // "\"" would be a literal quote: keep the case out of the expectation.
        argumentTemplate.clear();
        break;
      }
      const std::u16string& value = facts[tokenFacts[t]];
      if (before.empty() && !value.empty() && toDash.find(value[0]) != std::u16string_view::npos)
        option = true;
      expected.push_back(std::u16string(before) + value + std::u16string(after));
      vanishes.push_back(!quoted && expected.back().empty());
    }
    if (argumentTemplate.empty()) continue;
    const auto& form = cmdForms[below(std::size(cmdForms))];
    if (kind == ProgramKind::Cmd) {
      // A template argument of its own follows the values there.
      argumentTemplate = std::u16string(form.prefix) + argumentTemplate + std::u16string(form.suffix);
      expected.push_back(u"end");
      vanishes.push_back(false);
    }
    // Arguments at the end that only an empty value makes move nothing:
    // the program does not get them, as from the script.
    while (!vanishes.empty() && vanishes.back()) {
      vanishes.pop_back();
      expected.pop_back();
    }
    const std::string what = std::string(japanese ? "932: " : "1252: ") + U8(argumentTemplate) + " with " +
                             U8(facts[Fact::TopTitle]) + " | " + U8(facts[Fact::LinkUrl]) + " | " +
                             U8(facts[Fact::FrameTitle]) + " | " + U8(facts[Fact::ImageAlt]);
    const CommandLine line =
        kind == ProgramKind::Cmd
            ? BuildCommandLine(cmdProgram, kind, SubstituteArgumentsAsData(argumentTemplate, facts, kClock),
                               environment)
            : Line(kind, argumentTemplate, facts, environment);
    if (option) {
      EXPECT_EQ(line.refusal, LineRefusal::PageFormsOption) << what;
      continue;
    }
    // cmd.exe's item refuses what the program behind would read otherwise
    // as a line cmd.exe could not hand on.
    if (ansiBreaks && (line.refusal == LineRefusal::PageFormsOption ||
                       (kind == ProgramKind::Cmd && line.refusal == LineRefusal::UnsafeForBatch)))
      continue;
    ASSERT_EQ(line.refusal, LineRefusal::None) << what;
    ++started[kindIndex];
    western += japanese ? 0 : 1;
    const std::string gave = what + " gave " + U8(line.text);
    if (kind == ProgramKind::Batch) {
      ExpectEveryReadingGives(ReadBatchLineAsCmd(line.text, what), expected, gave, environment.systemAnsi);
      continue;
    }
    if (kind == ProgramKind::Cmd) {
      const std::u16string_view afterName = std::u16string_view(line.text).substr(cmdProgram.size() + 3);
      for (const std::u16string& arguments :
           ReadCmdItemLine(afterName, form.prefix, form.suffix, form.name, gave))
        ExpectEveryReadingGives(arguments, expected, gave, environment.systemAnsi);
      continue;
    }
    const std::u16string_view arguments = std::u16string_view(line.text).substr(kApp.size() + 3);
    ExpectEveryReadingGives(arguments, expected, gave, environment.systemAnsi);
    if (plain) {
      ++plainRounds;
      EXPECT_EQ(arguments, SubstituteArguments(argumentTemplate, facts, kClock)) << what;
    }
  }
  EXPECT_GT(plainRounds, 2);
  for (const int n : started) EXPECT_GT(n, 800);
  EXPECT_GT(western, 300);
}

TEST(CommandLine, BatchFilesGetNothingCmdCouldRun) {
  const LineCase cases[] = {
      {u"<TT> \"<AU>\"", Facts(u"Title", u"http://a/b"), u"Title \"http://a/b\""},
      {u"<AU>", Facts(u"", u"http://a/?b=1&c=2"), u"\"http://a/?b=1&c=2\""},
      {u"\"<AU>\"", Facts(u"", u"http://a/?b=1&c=(2)"), u"\"http://a/?b=1&c=(2)\""},
      {u"x<TT>y", Facts(u"a|b>c"), u"x\"a|b>c\"y"},
      {u"<TT> end", Facts(u""), u"\"\" end"},
      {u"x <TT> ", Facts(u""), u"x  "},
      {u"<AU>", Facts(u"", u"&\"C:\\other.exe\""), u""},
      {u"<AU>", Facts(u"", u"%OS%"), u""},
      {u"\"<AU>\"", Facts(u"", u"!x!"), u""},
      {u"<AU>", Facts(u"", u"a\r\nb"), u""},
      {u"<AU>", Facts(u"", u"a^&b"), u""},
      // The template's own escape or percent signs cannot be turned on the page's text.
      {u"^<TT>", Facts(u"&calc"), u""},
      {u"%<TT>%", Facts(u"OS"), u""},
      {u"a\\\"<TT>\" b", Facts(u"x&y"), u"a\\\"x&y\" b"},
      // Backslashes that end a value stay backslashes for the program behind.
      {u"\"<TT>\" --safe-mode", Facts(u"x\\"), u"\"x\\\\\" --safe-mode"},
      {u"\"<TT>\" \"<AU>\"", Facts(u"a\\", u" & calc "), u"\"a\\\\\" \" & calc \""},
      {u"C:\\d\\<TT>", Facts(u"a b"), u"C:\\d\\\\\"a b\""},
  };
  for (const auto& c : cases) {
    ExpectLineOrRefusal(ProgramKind::Batch, c, LineRefusal::UnsafeForBatch);
  }
  // The file's path may hold a blank: cmd.exe gets the host's own pair of
  // quotes to take off, and then finds the whole path.
  const CommandLine line =
      BuildCommandLine(u"C:\\My Tools\\run.bat", ProgramKind::Batch,
                       SubstituteArgumentsAsData(u"\"<TT>\"", Facts(u"a b"), kClock), Japanese());
  ASSERT_EQ(line.refusal, LineRefusal::None);
  EXPECT_EQ(line.text, u"cmd.exe /d /e:ON /v:OFF /c \"\"C:\\My Tools\\run.bat\" \"a b\"\"");
  MarkedText afterName;
  afterName.Append(std::u16string_view(line.text).substr(8), false);
  const CmdCommands read = ReadCmdCommand(afterName);
  ASSERT_EQ(read.commands.size(), 1u);
  EXPECT_EQ(SplitCmdName(read.commands[0]).name.text, u"\"C:\\My Tools\\run.bat\"");
}

TEST(CommandLine, LaunchersGetTheRawTextUnlessThePageWouldSteerThem) {
  const struct {
    ProgramKind kind;
    std::u16string_view argumentTemplate;
    PageFacts16 facts;
    LineRefusal refusal;
  } cases[] = {
      {ProgramKind::Jotwell, u"/s<ST> /oC:\\memo.txt", Facts(u"", u"", u"a \"b\"/c \\/"), LineRefusal::None},
      {ProgramKind::Jotwell, u"/s<ST> /oC:\\memo.txt", Facts(u"", u"", u"x /eC:\\any\\program.exe"),
       LineRefusal::PageFormsOption},
      {ProgramKind::Jotwell, u"/s<ST> /oC:\\memo.txt", Facts(u"", u"", u"x /oC:\\other.txt"),
       LineRefusal::PageFormsOption},
      {ProgramKind::Jotwell, u"/s<TT>/oC:\\memo.txt", Facts(u"x "), LineRefusal::PageFormsOption},
      {ProgramKind::Jotwell, u"/s<TT> /oC:\\memo.txt", Facts(u"x  "), LineRefusal::None},
      {ProgramKind::Jotwell, u"<ST> /oC:\\memo.txt", Facts(u"", u"", u"/sx"), LineRefusal::PageFormsOption},
      {ProgramKind::Jotwell, u"/<ST> /oC:\\memo.txt", Facts(u"", u"", u"sx"), LineRefusal::PageFormsOption},
      {ProgramKind::Jotwell, u"/s<TU> /oC:\\clips\\<TT2>.txt", Facts(u"a:b?c"), LineRefusal::None},
      {ProgramKind::Jotwell, u"/s<TU> /oC:\\clips\\<TT>.txt", Facts(u"..\\..\\Windows\\x"),
       LineRefusal::PageNamesPath},
      {ProgramKind::Jotwell, u"/s<TU> /oC:\\clips\\<TT>\\x.txt", Facts(u".."), LineRefusal::PageNamesPath},
      {ProgramKind::Jotwell, u"/s<TU> /o<TT>.txt", Facts(u"C:x"), LineRefusal::PageNamesPath},
      {ProgramKind::Jotwell, u"/s<TU> /oC:\\clips\\<TT>.txt", Facts(u"a.b c"), LineRefusal::None},
      {ProgramKind::Jotwell, u"/sx /oC:\\m.txt /e<TT>", Facts(u"notepad.exe"), LineRefusal::PageNamesPath},
      {ProgramKind::Fetchbay, u"<AU> C:\\viewer.exe", Facts(u"", u"http://a/b.pdf"), LineRefusal::None},
      {ProgramKind::Fetchbay, u"<AU> C:\\viewer.exe", Facts(u"", u"http://a/ C:\\Windows\\calc.exe"),
       LineRefusal::PageNamesPath},
      {ProgramKind::Fetchbay, u"<AU>", Facts(u"", u"http://a/ C:\\Windows\\calc.exe"),
       LineRefusal::PageNamesPath},
      {ProgramKind::Pagewatch, u"<TU> <TT>", Facts(u"a \"b\" /c"), LineRefusal::None},
      {ProgramKind::Clipsy, u"<ST>", Facts(u"", u"", u"  \"q\" \\ /x  "), LineRefusal::None},
  };
  for (const auto& c : cases) {
    const Built built = Build(c.kind, c.argumentTemplate, c.facts);
    EXPECT_EQ(built.refusal, c.refusal)
        << U8(c.argumentTemplate) << " with " << U8(c.facts[Fact::SelectionText])
        << U8(c.facts[Fact::TopTitle]) << U8(c.facts[Fact::LinkUrl]);
    if (c.refusal == LineRefusal::None) {
      // The launchers parse the raw text themselves: it is the script's.
      EXPECT_EQ(built.arguments, SubstituteArguments(c.argumentTemplate, c.facts, kClock));
    }
  }
}

// wscript and cscript know no escaped quote and read a leading slash as an
// option of the host ("//B") or a named argument of the script ("/mode:x").
TEST(CommandLine, ScriptHostsGetNoQuoteAndNoOptionFromThePage) {
  const LineCase cases[] = {
      {u"//nologo rec.vbs \"<TT>\"", Facts(u"a b"), u"//nologo rec.vbs \"a b\""},
      {u"rec.vbs <TT>", Facts(u"a b"), u"rec.vbs \"a b\""},
      {u"rec.vbs /mode:<TT>", Facts(u"safe"), u"rec.vbs /mode:safe"},
      {u"rec.vbs <TT>", Facts(u"x /y"), u"rec.vbs \"x /y\""},
      {u"rec.vbs \"<AU>\"", Facts(u"", u"http://a/b?c=d"), u"rec.vbs \"http://a/b?c=d\""},
      {u"rec.vbs \"<TT>\"", Facts(u"a\" //B \"x"), u""},
      {u"rec.vbs <ST>", Facts(u"", u"", u"//H:CScript"), u""},
      {u"rec.vbs \"<ST>\"", Facts(u"", u"", u"/mode:danger"), u""},
      {u"rec.vbs /<TT>", Facts(u"mode:danger"), u""},
      {u"rec.vbs \"/<TT>\"", Facts(u"/E:jscript"), u""},
      // No backslash escapes: the script hosts would keep them.
      {u"rec.vbs \"<TT>\" x", Facts(u"C:\\dir\\"), u"rec.vbs \"C:\\dir\\\" x"},
      {u"rec.vbs <TT>", Facts(u"C:\\a b\\"), u"rec.vbs \"C:\\a b\\\""},
      {u"rec.vbs C:\\d\\<TT>", Facts(u"a b"), u"rec.vbs C:\\d\\\"a b\""},
  };
  for (const auto& c : cases) {
    ExpectLineOrRefusal(ProgramKind::ScriptHost, c, LineRefusal::PageFormsOption);
  }
}

TEST(CommandLine, TooLongIsRefusedWithoutBuildingIt) {
  const std::u16string huge(200000, u'x');
  std::u16string manyTokens;
  for (int i = 0; i < 2000; ++i) manyTokens += u"<TU>";
  PageFacts16 facts;
  facts[Fact::TopUrl] = huge;
  for (const ProgramKind kind : {ProgramKind::Program, ProgramKind::Batch, ProgramKind::Clipsy}) {
    EXPECT_EQ(Build(kind, manyTokens, facts).refusal, LineRefusal::TooLong);
    // A batch file's line is longer by cmd.exe's start and the host's
    // quotes, and cmd.exe reads no longer line than its own limit.
    const std::size_t most = kind == ProgramKind::Batch ? kMaxCmdLine - kBatchStart.size() : kMaxCommandLine;
    facts[Fact::TopUrl] = std::u16string(most - kApp.size() - 4, u'x');
    EXPECT_EQ(Build(kind, u"<TU>", facts).refusal, LineRefusal::None);
    facts[Fact::TopUrl] += u'x';
    EXPECT_EQ(Build(kind, u"<TU>", facts).refusal, LineRefusal::TooLong);
    // Quoting a value full of quotes makes it longer than it was.
    facts[Fact::TopUrl] = std::u16string(20000, u'"');
    EXPECT_EQ(Build(ProgramKind::Program, u"<TU>", facts).refusal, LineRefusal::TooLong);
    facts[Fact::TopUrl] = huge;
  }
}

TEST(CommandLine, KindOfProgram) {
  const struct {
    std::u16string_view path, product, description;
    ProgramKind kind;
  } cases[] = {
      {u"C:\\a\\run.bat", u"", u"", ProgramKind::Batch},
      {u"C:\\a\\RUN.Cmd", u"", u"", ProgramKind::Batch},
      {u"C:\\a\\run.bat. .", u"", u"", ProgramKind::Batch},
      {u"C:\\a\\run.exe", u"", u"", ProgramKind::Program},
      {u"C:\\Windows\\System32\\CMD.EXE", u"", u"", ProgramKind::Cmd},
      {u"cmd.exe", u"", u"", ProgramKind::Cmd},
      {u"C:\\a\\mycmd.exe", u"", u"", ProgramKind::Program},
      {u"C:\\Windows\\System32\\WScript.exe", u"", u"", ProgramKind::ScriptHost},
      {u"cscript.exe", u"", u"", ProgramKind::ScriptHost},
      {u"C:\\a\\mywscript.exe", u"", u"", ProgramKind::Program},
      {u"C:\\a\\memo.exe", u"Jotwell", u"Orbisk Sample", ProgramKind::Jotwell},
      {u"C:\\a\\x.exe", u"Fetchbay", u"Orbisk Sample", ProgramKind::Fetchbay},
      {u"C:\\a\\x.exe", u"Pagewatch", u"Orbisk Sample", ProgramKind::Pagewatch},
      {u"C:\\a\\Clipsy.exe", u"Clipsy", u"Orbisk Sample", ProgramKind::Clipsy},
      {u"C:\\a\\Clipsy.exe", u"Clipsy", u"Something else", ProgramKind::Program},
      {u"C:\\a\\x.exe", u"jotwell", u"Orbisk Sample", ProgramKind::Program},
      // Windows' own programs that open or run what they are given.
      {u"C:\\Windows\\explorer.exe", u"", u"", ProgramKind::Opener},
      {u"RUNDLL32.EXE", u"", u"", ProgramKind::Opener},
      {u"C:\\Windows\\System32\\mshta.exe", u"", u"", ProgramKind::Hta},
      {u"C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\PowerShell.exe", u"", u"", ProgramKind::PowerShell},
      {u"C:\\Program Files\\PowerShell\\7\\pwsh.exe", u"", u"", ProgramKind::PowerShell},
      // The extension cmd.exe adds to a command's name, and the file's data stream.
      {u"C:\\Windows\\System32\\cmd", u"", u"", ProgramKind::Cmd},
      {u"C:\\Windows\\System32\\cmd.exe::$DATA", u"", u"", ProgramKind::Cmd},
      {u"C:\\a\\run.bat::$data", u"", u"", ProgramKind::Batch},
      {u"C:\\a.b\\run", u"", u"", ProgramKind::Program},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KindOfProgramFile(c.path, c.product, c.description), c.kind) << U8(c.path) << U8(c.product);
  }
}

}  // namespace
