#include <gtest/gtest.h>

#include <vector>

#include "common/module_path.h"
#include "common/sjis_chars.h"
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

TEST(ShiftJis, StepsThroughWholeCharacters) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::size_t> starts;  // where each character begins
  } cases[] = {
      {"empty", "", {}},
      {"ASCII", "ab", {0, 1}},
      {"表示: both trail bytes look like ASCII", "表示", {0, 2}},
      {"lead bytes at the range ends", "\x81\x40\x9F\xFC\xE0\x40\xFC\xFC", {0, 2, 4, 6}},
      {"no lead bytes: 0x80, 0xA0, half-width katakana, 0xFD-0xFF",
       "\x80\xA0\xB1\xDF\xFD\xFE\xFF",
       {0, 1, 2, 3, 4, 5, 6}},
      {"a lone lead byte at the end stands alone", "a\x95", {0, 1}},
      {"mixed", "a表b|", {0, 1, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < c.text.size(); i = NextSjisChar(c.text, i)) starts.push_back(i);
    EXPECT_EQ(starts, c.starts);
    EXPECT_EQ(SjisCharCount(c.text), c.starts.size());
    for (std::size_t n = 0; n < c.starts.size(); ++n) EXPECT_EQ(SjisByteOffset(c.text, n), c.starts[n]) << n;
    EXPECT_EQ(SjisByteOffset(c.text, c.starts.size()), c.text.size());
    EXPECT_EQ(SjisByteOffset(c.text, c.starts.size() + 5), c.text.size());
  }
  EXPECT_EQ(SjisCharCount(""), 0u);
  EXPECT_EQ(SjisCharCount("ab"), 2u);
  EXPECT_EQ(SjisCharCount("\x95\x5C\x8E\xA6"), 2u);
  EXPECT_EQ(SjisCharCount("a\x95"), 2u);  // a lone lead byte at the end
  EXPECT_EQ(SjisByteOffset("\x95\x5C"
                           "a",
                           1),
            2u);
  EXPECT_EQ(SjisByteOffset("ab", 5), 2u);
}

TEST(TextUtil, TrimEndDropsOnlyTheGivenCharactersAtTheEnd) {
  struct Case {
    std::string text, chars, expected;
  } cases[] = {
      {"x.bat. . .", ". ", "x.bat"},
      {"x.bat", ". ", "x.bat"},
      {" . ", ". ", ""},
      {"", " ", ""},
      {"  a b  ", " ", "  a b"},
      {"a.\x81\x40", ". ", "a.\x81\x40"},  // a full-width blank is no blank
      {"表. ", ". ", "表"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimEnd(c.text, c.chars), c.expected) << c.text;
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

TEST(TextUtil, WithoutExtension) {
  struct Case {
    std::string fileName, expected;
  } cases[] = {
      {"viewer.exe", "viewer"},
      {"archive.tar.gz", "archive.tar"},
      {"runme", "runme"},
      {"name.", "name."},  // an empty extension is none
      {".hidden", ""},
      {"", ""},
      {"示.exe", "示"},
      {"表.表示", "表"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithoutExtension(c.fileName), c.expected) << c.fileName;
}

// The source editor's setting and Jotwell's paths lose one pair of enclosing
// quotes; the edge cases are the same for both.
TEST(TextUtil, StripEnclosingQuotes) {
  struct Case {
    std::string text;
    std::optional<std::string> expected;
  } cases[] = {
      {"\"C:\\Program Files\\ed.exe\"", "C:\\Program Files\\ed.exe"},
      {"C:\\ed.exe", "C:\\ed.exe"},
      // Arguments behind the closing quote keep the whole value, which is
      // then no existing file.
      {"\"C:\\ed.exe\" /r", "\"C:\\ed.exe\" /r"},
      {"\"C:\\a.txt", "\"C:\\a.txt"},
      {"C:\\a.txt\"", "C:\\a.txt\""},
      {"\"\"\"", "\""},
      {"\"\"", ""},
      {"", ""},
      {"\"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(StripEnclosingQuotes(c.text), c.expected) << c.text;
  EXPECT_EQ(StripEnclosingQuotes("\"C:\\a b.txt\""), "C:\\a b.txt");
  EXPECT_EQ(StripEnclosingQuotes("C:\\a.txt"), "C:\\a.txt");
  EXPECT_EQ(StripEnclosingQuotes("\"C:\\a.txt"), "\"C:\\a.txt");
  EXPECT_EQ(StripEnclosingQuotes("\"\""), "");
  EXPECT_EQ(StripEnclosingQuotes(""), "");
  EXPECT_EQ(StripEnclosingQuotes("\""), std::nullopt);
}

TEST(TextUtil, CaseMappingLeavesDoubleByteCharactersAlone) {
  // ａ (82 81) and the trail byte 0x61 of 83 61 must not change.
  EXPECT_EQ(ToUpperSjis("abc\x83\x61z"), "ABC\x83\x61Z");
  EXPECT_EQ(ToLowerSjis("ABC\x83\x41Z"), "abc\x83\x41z");
  EXPECT_EQ(ToUpperSjis("a\x95"), "A\x95");  // a lone lead byte at the end
  EXPECT_EQ(FindLastSjisChar("a.b\x95", '.'), 1u);
  EXPECT_EQ(FindLastSjisChar("\x95\x5C", '\\'), std::string_view::npos);
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
