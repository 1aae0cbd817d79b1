#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "common/text_util.h"
#include "launchers/fetchbay/fetchbay_rules.h"

TEST(FetchbayRules, SplitsTheUrlAndTheApplicationPath) {
  auto split = SplitFetchbayArguments("http://h/a.zip C:\\Program Files\\Tool\\tool.EXE");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->url, "http://h/a.zip");
  EXPECT_EQ(split->applicationPath, "C:\\Program Files\\Tool\\tool.EXE");

  split = SplitFetchbayArguments("file:///C:/a%20b.txt C:\\表\\x.exe");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->url, "file:///C:/a%20b.txt");
  EXPECT_EQ(split->applicationPath, "C:\\表\\x.exe");
}

// Every argument text that is refused, with why; the page may fill in the
// URL part, and whatever follows its first blank lands in the path.
TEST(FetchbayRules, RefusesArgumentsThatCouldPickAnotherProgram) {
  struct Case {
    std::string text, why;
  } cases[] = {
      {"", "empty"},
      {"http://h/a.zip", "no blank"},
      {" C:\\x.exe", "empty URL"},
      {"http:/h/a C:\\x.exe", "no ://"},
      {"http://h/a C:\\x.com", "no .exe"},
      {"http://h/ \"C:\\x.exe\"", "quoted"},
      {"file:///x C:\\Windows\\System32\\cmd.exe\" /c calc & rem C:\\Viewer\\v.exe", "quote ends the name"},
      {"http://h/a C:\\Windows\\System32\\cmd.exe C:\\Viewer\\v.exe", "a second program"},
      {"file:///C:/a.txt C:\\x.exe -opt x.exe", "options after the .exe"},
      {"http://h/a C:\\x.exe ", "a trailing blank"},
      {"http://h/a C:\\x.exe.exe", "text after the first .exe"},
      {"http://h/a C:\\x.exe\t", "a tab after the .exe"},
      {"http://h/a C:\\a\tb\\x.exe", "a tab"},
      {"http://h/a C:\\a\r\nb\\x.exe", "a line break"},
      {"http://h/a C:\\a\x7F\\x.exe", "DEL"},
      {"http://h/a C:\\a\"b\\x.exe", "a quote inside"},
      {"file:///C:/a.txt\"\t-x\" C:\\x.exe", "file URL with a quote"},
      {"file:///C:/a.txt\t-x C:\\x.exe", "file URL with a tab"},
      {"FILE:///C:/a\x01.txt C:\\x.exe", "file URL in capitals with a control character"},
  };
  for (const Case& c : cases) EXPECT_FALSE(SplitFetchbayArguments(c.text)) << c.why;

  // A quote or a tab in a URL that is downloaded only shapes the file name.
  EXPECT_TRUE(SplitFetchbayArguments("http://h/a\"\tb C:\\x.exe"));
  // 表 (95 5C) and ポ (83 7C) hold no quote or control byte.
  EXPECT_TRUE(SplitFetchbayArguments("file:///C:/表ポ.txt C:\\表ポ\\x.exe"));
}

// A file URL is handed over only when it converts to a path on a drive of
// this machine; any spelling of a host, share or device is refused.
TEST(FetchbayRules, FileUrlsReachOnlyLocalDrives) {
  struct Case {
    std::string url;
    bool usable;
  } cases[] = {
      {"file:///C:/x.pdf", true},
      {"file:///C|/x.pdf", true},
      {"file://C:/x.pdf", true},
      {"file:///c:/a%20b/x.pdf", true},
      {"file:///C:x.pdf", true},
      {"file:///C:/%5C%5Chost/x.pdf", true},  // a name on C:, not decoded
      {"http://host/x.pdf", true},
      {"file://host/x.pdf", false},
      {"file://host/share/x.pdf", false},
      {"file:////host/share/x.pdf", false},
      {"file://///127.0.0.1/share/x.pdf", false},
      {"file:///\\\\host\\share\\x.pdf", false},
      {"file://\\\\host\\share\\x.pdf", false},
      {"file:///%5C%5Chost%5Cshare/x.pdf", false},
      {"file:///%2F%2Fhost/share/x.pdf", false},
      {"file://localhost/C:/x.pdf", false},
      {"file:///\\\\?\\UNC\\host\\share\\x.pdf", false},
      {"file:///\\\\.\\pipe\\x", false},
      {"file:///\\\\?\\C:\\x.pdf", false},
      {"file:///x.pdf", false},
      {"file:///", false},
      // The conversion knows "file://" in lower case only.
      {"FILE://host/x.pdf", false},
      {"File:///C:/x.pdf", false},
      // The file scheme spelt so that only the download would take it.
      {"file:\\\\host\\share\\x.pdf#://", false},
      {"FILE:/\\host/share/x.pdf?://", false},
      {"\x01"
       "file:\\\\host\\x#://",
       false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitFetchbayArguments(c.url + " C:\\Viewer\\v.exe").has_value(), c.usable) << c.url;
  }
}

TEST(FetchbayRules, FileUrls) {
  EXPECT_TRUE(IsFileUrl("file:///C:/a"));
  EXPECT_TRUE(IsFileUrl("FILE://C:/a"));
  EXPECT_FALSE(IsFileUrl("http://h/"));
  EXPECT_FALSE(IsFileUrl("file:/"));

  struct Case {
    std::string url, path;
  } cases[] = {
      {"file:///C:/My%20Documents/a%20b.txt", "C:\\My Documents\\a b.txt"},
      {"file:///C|/dir/a.txt", "C:\\dir\\a.txt"},
      {"file://C:/dir/a.txt", "C:\\dir\\a.txt"},
      {"file://server/share/a.txt", "server\\share\\a.txt"},
      {"file:///C:/a%41%20%2520", "C:\\a%41 %2520"},  // only %20 is decoded
      {"FILE:///C:/a.txt", "FILE:\\\\\\C:\\a.txt"},
      // ポ is 83 7C: its trail byte is no vertical bar.
      {"file:///C:/ポ.txt", "C:\\ポ.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileUrlToPath(c.url), c.path) << c.url;
}

TEST(FetchbayRules, FileNamesStayInsideTheDownloadFolder) {
  struct Case {
    std::string url, name;
  } cases[] = {
      {"http://host/dir/file.zip", "file.zip"},
      {"http://host/get.cgi?id=1&x=2", "get.cgi？id=1&x=2"},
      {"http://host/dir/", "NoFileName"},
      {"http://host", "host"},
      {"http://host/a\\..\\..\\x.exe", "a￥..￥..￥x.exe"},
      {"http://host/..", "NoFileName"},
      {"http://host/.", "NoFileName"},
      {"http://host/a%2F..", "a%2F"},
      {"http://host/C:x", "C：x"},
      {"http://host/a|b<c>\"d*", "a｜b＜c＞”d＊"},
      {"http://host/表.txt", "表.txt"},
      // The file system drops trailing dots; the recorded name must be the
      // name the file gets.
      {"http://host/a.txt.", "a.txt"},
      {"http://host/Fetchbay.ini...", "Fetchbay.ini"},
      {"http://host/...", "NoFileName"},
      // No file can hold a control character.
      {"http://host/a\tb.txt", "NoFileName"},
      {"http://host/a\x7F", "NoFileName"},
      // Device names are no files.
      {"http://host/CON", "NoFileName"},
      {"http://host/nul.txt", "NoFileName"},
      {"http://host/Com1.tar.gz", "NoFileName"},
      {"http://host/LPT9", "NoFileName"},
      {"http://host/con..", "NoFileName"},
      {"http://host/CONSOLE.txt", "CONSOLE.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFromUrl(c.url), c.name) << c.url;
}

TEST(FetchbayRules, NamesTheProgramsBesideFetchbayPickUp) {
  for (const char* picked :
       {"urlmon.dll", "VERSION.DLL", "Pagewatch.ini", "Fetchbay.INI", "desktop.ini", "Orbisk.hlp",
        "Orbisk.cnt", "Orbisk.GID", "Orbisk.exe.manifest", "Fetchbay.exe.local"}) {
    EXPECT_TRUE(IsNameProgramsPickUp(picked)) << picked;
  }
  for (const char* plain :
       {"report.txt", "setup.exe", "dll", "ini", "a.dll.txt", "a.dllx", "NoFileName", "表.zip"}) {
    EXPECT_FALSE(IsNameProgramsPickUp(plain)) << plain;
  }
}

TEST(FetchbayRules, NumberedNames) {
  struct Case {
    std::string name;
    int n;
    std::string numbered;
  } cases[] = {
      {"a.zip", 1, "a.zip"},
      {"a.zip", 2, "a (2).zip"},
      {"a.zip", 10, "a (10).zip"},
      {"archive.tar.gz", 2, "archive.tar (2).gz"},
      {"NoFileName", 3, "NoFileName (3)"},
      {".profile", 2, ".profile (2)"},
      {"Orbisk.exe", 2, "Orbisk (2).exe"},
      {"表.txt", 2, "表 (2).txt"},
      {"get.cgi？id=1.5&x", 2, "get.cgi？id=1 (2).5&x"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberedName(c.name, c.n), c.numbered) << c.name << " " << c.n;
}

// A folder stand-in: the names present (compared without case, as the file
// system does) and the names whose claim fails outright.
TEST(FetchbayRules, ClaimsTheFirstFreeName) {
  struct Case {
    std::string name;
    bool skipPlain;
    std::set<std::string> present, failing;
    std::optional<std::string> claimed;
  } cases[] = {
      {"a.zip", false, {}, {}, "a.zip"},
      {"a.zip", false, {"A.ZIP"}, {}, "a (2).zip"},
      {"a.zip", false, {"A.ZIP", "a (2).zip", "a (3).ZIP"}, {}, "a (4).zip"},
      {"a.zip", false, {"a (2).zip"}, {}, "a.zip"},
      {"Pagewatch.ini", true, {}, {}, "Pagewatch (2).ini"},
      {"Fetchbay.ini", true, {"FETCHBAY (2).INI"}, {}, "Fetchbay (3).ini"},
      {"a.zip", false, {"A.ZIP"}, {"A (2).ZIP"}, std::nullopt},
      {"a.zip", false, {}, {"A.ZIP"}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::vector<std::string> tried;
    const auto claimed = ClaimFreeName(c.name, c.skipPlain, [&](const std::string& candidate) {
      tried.push_back(candidate);
      const std::string upper = ToUpperSjis(candidate);
      for (const std::string& name : c.failing) {
        if (ToUpperSjis(name) == upper) return NameClaim::Failed;
      }
      for (const std::string& name : c.present) {
        if (ToUpperSjis(name) == upper) return NameClaim::Taken;
      }
      return NameClaim::Claimed;
    });
    EXPECT_EQ(claimed, c.claimed) << c.name;
    // Nothing is tried after the claim or the failure.
    ASSERT_FALSE(tried.empty());
    if (claimed) {
      EXPECT_EQ(tried.back(), *claimed) << c.name;
    }
  }

  // A folder where every name is taken gives nothing, after a bounded search.
  int calls = 0;
  EXPECT_EQ(ClaimFreeName("a", false,
                          [&](const std::string&) {
                            ++calls;
                            return NameClaim::Taken;
                          }),
            std::nullopt);
  EXPECT_EQ(calls, kMaxNumberedName);
}

TEST(FetchbayRules, OnlyA2xxStatusIsADownload) {
  struct Case {
    bool transferred;
    std::optional<unsigned> status;
    bool succeeded;
  } cases[] = {
      {true, std::nullopt, true},  // a scheme without HTTP status
      {true, 200, true},
      {true, 204, true},
      {true, 299, true},
      {true, 199, false},
      {true, 300, false},
      {true, 302, false},
      {true, 304, false},
      {true, 404, false},
      {true, 500, false},
      {false, 200, false},
      {false, std::nullopt, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DownloadSucceeded(c.transferred, c.status), c.succeeded)
        << c.transferred << " " << c.status.value_or(0);
  }
}

TEST(FetchbayRules, SamePath) {
  EXPECT_TRUE(IsSamePath("C:\\Prog\\", "c:\\PROG\\"));
  EXPECT_FALSE(IsSamePath("C:\\Prog\\", "C:\\Prog\\Down\\"));
  EXPECT_TRUE(IsSamePath("Report.PDF", "report.pdf"));
  EXPECT_FALSE(IsSamePath("report.pdf", ""));
  // ヂ (83 61) and ア (83 41): trail bytes are no letters.
  EXPECT_FALSE(IsSamePath("C:\\ヂ\\", "C:\\ア\\"));
}

TEST(FetchbayRules, DownloadFolderFallsBackToTheProgramFolder) {
  const auto kind = [](const std::string& path) {
    return path == "D:\\Down\\" || path == "D:\\表\\" ? PathKind::Folder
           : path == "D:\\file\\"                     ? PathKind::File
                                                      : PathKind::Missing;
  };
  struct Case {
    std::string setting, folder;
    bool write;
  } cases[] = {
      {"", "C:\\Prog\\", true},
      {"D:\\Down", "D:\\Down\\", false},
      {"D:\\Down\\", "D:\\Down\\", false},
      {"D:\\Gone\\", "C:\\Prog\\", true},
      {"D:\\file", "C:\\Prog\\", true},
      // 表 ends in 0x5C; a backslash must still be added after it.
      {"D:\\表", "D:\\表\\", false},
  };
  for (const Case& c : cases) {
    const DownloadFolderChoice choice = ChooseDownloadFolder(c.setting, "C:\\Prog\\", kind);
    EXPECT_EQ(choice.folder, c.folder) << c.setting;
    EXPECT_EQ(choice.writeSetting, c.write) << c.setting;
  }
}

TEST(FetchbayRules, OnlyABareLastDownloadFileIsDeleted) {
  EXPECT_EQ(PreviousDownloadPath("C:\\Down\\", "a.zip"), "C:\\Down\\a.zip");
  EXPECT_EQ(PreviousDownloadPath("C:\\Down\\", "get.cgi？id=1"), "C:\\Down\\get.cgi？id=1");
  for (const char* unsafe :
       {"", "..\\Orbisk.exe", "C:\\Windows\\win.ini", "sub/a.zip", "..", ".", "D:a.zip"}) {
    EXPECT_EQ(PreviousDownloadPath("C:\\Down\\", unsafe), std::nullopt) << unsafe;
  }
}
