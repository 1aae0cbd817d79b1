#include <gtest/gtest.h>

#include "launchers/common/argument_text.h"
#include "launchers/common/launcher_text.h"

TEST(LauncherArgumentText, ProgramPathAndFollowingBlanksRemovedOnly) {
  struct Case {
    std::string commandLine, expected;
  } cases[] = {
      {"\"C:\\Program Files\\Clipsy.exe\" abc", "abc"},
      {"\"C:\\Program Files\\Clipsy.exe\"   abc  ", "abc  "},
      {"C:\\Tools\\Clipsy.exe abc def", "abc def"},
      {"C:\\Tools\\Clipsy.exe", ""},
      {"\"C:\\Tools\\Clipsy.exe\"", ""},
      {"\"C:\\Tools\\Clipsy.exe\" ", ""},
      {"\"C:\\Tools\\Clipsy.exe\" \"quoted\" \"", "\"quoted\" \""},
      {"\"C:\\Tools\\Clipsy.exe\" \tTab\r\nLine\r\n", "\tTab\r\nLine\r\n"},
      {"\"C:\\Tools\\Clipsy.exe\" \"\"", "\"\""},
      // A Japanese folder whose name ends in the trail byte 0x5C.
      {"\"C:\\表\\Clipsy.exe\" 表 あ", "表 あ"},
      {"C:\\表\\Clipsy.exe 表", "表"},
      // A quoted path without its closing quote takes the whole line.
      {"\"C:\\Tools\\Clipsy.exe abc", ""},
      {"Clipsy.exe\tabc", "\tabc"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentTextOf(c.commandLine), c.expected) << c.commandLine;
}

TEST(LauncherText, UsageTextUsesTheProgramFileName) {
  EXPECT_EQ(UsageText("Fetchbay", "　ＵＲＬ　アプリケーションのパス"),
            "コマンドライン：\r\n\r\nFetchbay．exe　ＵＲＬ　アプリケーションのパス");
  EXPECT_EQ(UsageText("Getter", ""), "コマンドライン：\r\n\r\nGetter．exe");
}

TEST(LauncherText, QuoteUnlessEnclosed) {
  struct Case {
    std::string text, expected;
  } cases[] = {
      {"\"C:\\a b\\x.exe\"", "\"C:\\a b\\x.exe\""},
      {"C:\\a b\\x.exe", "\"C:\\a b\\x.exe\""},
      {"\"C:\\x.exe", "\"\"C:\\x.exe\""},
      {"C:\\x.exe\"", "\"C:\\x.exe\"\""},
      {"", "\"\""},
      {"\"", "\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteUnlessEnclosed(c.text), c.expected) << c.text;
  EXPECT_EQ(ProgramWithFileArgument("C:\\e d\\ed.exe", "\"f.txt\""), "\"C:\\e d\\ed.exe\" \"f.txt\"");
}

TEST(LauncherText, SettingsPathBesideTheProgramUnderItsOwnName) {
  EXPECT_EQ(SettingsPathOf("C:\\Tools\\Fetchbay.exe"), "C:\\Tools\\Fetchbay.ini");
  EXPECT_EQ(SettingsPathOf("C:\\Tools\\Getter.EXE"), "C:\\Tools\\Getter.ini");
  EXPECT_EQ(SettingsPathOf("C:\\My.Tools\\Page.watch.exe"), "C:\\My.Tools\\Page.watch.ini");
}

TEST(LauncherText, EndsWithNoCaseOnWholeCharacters) {
  EXPECT_TRUE(EndsWithNoCase("C:\\w\\wwwc.exe", "WWWC.EXE"));
  EXPECT_TRUE(EndsWithNoCase("C:\\w\\WwWc.ExE", "WWWC.EXE"));
  EXPECT_FALSE(EndsWithNoCase("C:\\w\\wwwc.exe.bak", "WWWC.EXE"));
  EXPECT_FALSE(EndsWithNoCase("wwc.exe", "WWWC.EXE"));
  // ジ is 83 57: its trail byte looks like a W but is not one.
  EXPECT_FALSE(EndsWithNoCase("C:\\\x83WWWC.EXE", "WWWC.EXE"));
  EXPECT_TRUE(
      EndsWithNoCase("C:\\\x83W"
                     "WWWC.EXE",
                     "WWWC.EXE"));
}
