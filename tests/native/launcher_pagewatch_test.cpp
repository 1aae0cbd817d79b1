#include <gtest/gtest.h>

#include "common/sjis_chars.h"
#include "launchers/pagewatch/pagewatch_rules.h"

TEST(PagewatchRules, SplitsUrlAndWidenedTitle) {
  struct Case {
    std::string argumentText, url, title;
  } cases[] = {
      {"http://h/p Page Title", "http://h/p", "Page Title"},
      {"https://h/p?q=1 A: What? \"Quoted\"", "https://h/p?q=1", "A： What？ ”Quoted”"},
      {"http://h/p ", "http://h/p", "TitleNotFound"},
      {"http://h/p  two", "http://h/p", " two"},
      {"http://h/p a/b\\c|d<e>f*", "http://h/p", "a／b￥c｜d＜e＞f＊"},
      {"http://h/p 表示", "http://h/p", "表示"},
      // "://" may stand anywhere, even in the title.
      {"httpx x://y", "httpx", "x：／／y"},
  };
  for (const Case& c : cases) {
    const auto split = SplitPagewatchArguments(c.argumentText);
    ASSERT_TRUE(split) << c.argumentText;
    EXPECT_EQ(split->url, c.url) << c.argumentText;
    EXPECT_EQ(split->title, c.title) << c.argumentText;
  }
  for (const char* unusable :
       {"HTTP://h/p T", "http://h/p", "http:/h/p T", "ftp://h/p T", "", " http://h/p T"}) {
    EXPECT_FALSE(SplitPagewatchArguments(unusable)) << unusable;
  }
}

TEST(PagewatchRules, ShortcutPathFitsThePathLimit) {
  EXPECT_EQ(ShortcutPathFor("C:\\Pw\\", "Title"), "C:\\Pw\\Title.url");
  EXPECT_EQ(SjisCharCount("a表b"), 3u);

  // Too long for one file name: cut to 251 characters plus ".url".
  std::string path = ShortcutPathFor("C:\\", std::string(300, 'x'));
  EXPECT_EQ(path, "C:\\" + std::string(251, 'x') + ".url");
  path = ShortcutPathFor("C:\\Pw\\", std::string(300, 'x'));
  EXPECT_EQ(path, "C:\\Pw\\" + std::string(249, 'x') + ".url");

  // A long folder leaves less room: the whole path is 259 characters.
  const std::string deep = "C:\\" + std::string(100, 'd') + "\\";
  path = ShortcutPathFor(deep, std::string(300, 'x'));
  EXPECT_EQ(SjisCharCount(path), kMaxPathChars);
  EXPECT_EQ(path.substr(path.size() - 4), ".url");

  // Double-byte characters count once and are never split.
  std::string japanese;
  for (int i = 0; i < 200; ++i) japanese += "表";
  path = ShortcutPathFor(deep, japanese);
  EXPECT_EQ(SjisCharCount(path), kMaxPathChars);
  const std::string title = path.substr(deep.size(), path.size() - deep.size() - 4);
  EXPECT_EQ(title.size() % 2, 0u);
  EXPECT_EQ(title, japanese.substr(0, title.size()));

  // A title that fits is kept whole, however close to the limit.
  const std::string fits(kMaxPathChars - deep.size() - 4, 'y');
  EXPECT_EQ(ShortcutPathFor(deep, fits), deep + fits + ".url");
}

TEST(PagewatchRules, OnlyOwnShortcutsAreDeleted) {
  const std::string folder = "C:\\Tools\\Pw\\";
  for (const char* own : {"C:\\Tools\\Pw\\Title.url", "c:\\tools\\pw\\Page.URL", "C:\\Tools\\Pw\\表.url"}) {
    EXPECT_TRUE(IsOwnShortcut(own, folder)) << own;
  }
  for (const char* other :
       {"C:\\Windows\\win.ini", "C:\\Tools\\Pw\\Pagewatch.ini", "C:\\Tools\\Pw\\sub\\a.url",
        "C:\\Tools\\a.url", "C:\\Tools\\Pw\\..\\a.url", "C:\\Tools\\Pw\\x/../../a.url",
        "C:\\Tools\\Pw\\a.txt:b.url", "C:\\Tools\\Pw\\", "C:\\Tools\\Pw\\.url", "a.url", ""}) {
    EXPECT_FALSE(IsOwnShortcut(other, folder)) << other;
  }
}

TEST(PagewatchRules, WwwcEntries) {
  const auto kind = [](const std::string& path) {
    return path == "C:\\W\\wwwc.exe" || path == "C:\\W\\WWWC.EXE" || path == "C:\\W\\other.exe" ||
                   path == "C:\\W\\mywwwc.exe"
               ? PathKind::File
           : path == "C:\\W\\dir.wwwc.exe" ? PathKind::Folder
                                           : PathKind::Missing;
  };
  EXPECT_EQ(CheckWwwcEntry("", kind), WwwcEntry::Empty);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\wwwc.exe", kind), WwwcEntry::Accepted);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\WWWC.EXE", kind), WwwcEntry::Accepted);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\mywwwc.exe", kind), WwwcEntry::Accepted);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\other.exe", kind), WwwcEntry::NotWwwc);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\gone\\wwwc.exe", kind), WwwcEntry::Missing);
  EXPECT_EQ(CheckWwwcEntry("C:\\W\\dir.wwwc.exe", kind), WwwcEntry::Missing);
  EXPECT_EQ(CheckWwwcEntry(" C:\\W\\wwwc.exe", kind), WwwcEntry::Missing);  // taken literally
}

TEST(PagewatchRules, InternetShortcutContent) {
  EXPECT_EQ(UrlShortcutContent("http://h/p?q=1"), "[InternetShortcut]\r\nURL=http://h/p?q=1\r\n");
  EXPECT_EQ(UrlShortcutContent("http://h/\r\n[X]\r\nIconFile=c:\\x\t"),
            "[InternetShortcut]\r\nURL=http://h/[X]IconFile=c:\\x\r\n");
}
