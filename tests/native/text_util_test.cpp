#include <gtest/gtest.h>

#include "common/module_path.h"
#include "common/text_util.h"

TEST(TextUtil, TrimAtNulCutsAtFirstNulThenTrimsBlanks) {
  struct Case {
    std::string input, expected;
  } cases[] = {
      {"", ""},
      {"  abc  ", "abc"},
      {std::string("ab c \0 rest", 10), "ab c"},
      {std::string("\0abc", 4), ""},
      {"\tabc\t", "\tabc\t"},  // only blanks are trimmed
      {"    ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimAtNul(c.input), c.expected) << c.input;
}

TEST(TextUtil, PathParts) {
  struct Case {
    std::string path, fileName, folder;
  } cases[] = {
      {"C:\\Tools\\viewer.exe", "viewer.exe", "C:\\Tools\\"},
      {"C:\\Tools\\", "", "C:\\Tools\\"},
      {"viewer.exe", "", "viewer.exe"},
      {"", "", ""},
      {"C:\\", "", "C:\\"},
      // 表 is 95 5C in code page 932: its trail byte is not a separator.
      {"C:\\\x95\x5C\\a.exe", "a.exe", "C:\\\x95\x5C\\"},
      {"C:\\dir\\\x95\x5C", "\x95\x5C", "C:\\dir\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFileNamePart(c.path), c.fileName) << c.path;
    EXPECT_EQ(GetFolderPart(c.path), c.folder) << c.path;
  }
}

TEST(TextUtil, ExtensionPart) {
  EXPECT_EQ(GetExtensionPart("viewer.exe"), "exe");
  EXPECT_EQ(GetExtensionPart("README"), "");
  EXPECT_EQ(GetExtensionPart(""), "");
  EXPECT_EQ(GetExtensionPart("archive.tar.gz"), "gz");
  EXPECT_EQ(GetExtensionPart("name."), "");
}

TEST(TextUtil, CaseMappingLeavesDoubleByteCharactersAlone) {
  // ａ (82 81) and the trail byte 0x61 of 83 61 must not change.
  EXPECT_EQ(ToUpperSjis("abc\x83\x61z"), "ABC\x83\x61Z");
  EXPECT_EQ(ToLowerSjis("ABC\x83\x41Z"), "abc\x83\x41z");
}

TEST(TextUtil, ReplaceAllMatchesWholeCharactersOnly) {
  EXPECT_EQ(ReplaceAll("a/b/c", "/", "\\"), "a\\b\\c");
  EXPECT_EQ(ReplaceAll("\x95\x5C\\", "\\", "/"), "\x95\x5C/");  // 表 keeps its 5C
  EXPECT_EQ(ReplaceAll("\x83\x7C|", "|", ":"), "\x83\x7C:");  // ポ ends in 7C
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_TRUE(ContainsNoCase("C:\\Tools\\View.ExE", ".exe"));
  EXPECT_FALSE(ContainsNoCase("C:\\Tools\\View.ex", ".exe"));
}

TEST(TextUtil, ProgramFolderAndName) {
  EXPECT_EQ(ProgramFolderOf("C:\\Tools\\Orbisk\\Orbisk.exe"), "C:\\Tools\\Orbisk\\");
  EXPECT_EQ(ProgramFileNameOf("C:\\Tools\\Orbisk\\Orbisk.exe"), "Orbisk");
  EXPECT_EQ(ProgramFolderOf("C:\\Orbisk.exe"), "C:\\");
  EXPECT_EQ(ProgramFileNameOf("C:\\my.tool.exe"), "my.tool");
}
