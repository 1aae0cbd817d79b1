#include <gtest/gtest.h>

#include "launchers/fetchbay/fetchbay_rules.h"

TEST(FetchbayRules, SplitsTheUrlAndTheApplicationPath) {
  auto split = SplitFetchbayArguments("http://h/a.zip C:\\Program Files\\Tool\\tool.EXE");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->url, "http://h/a.zip");
  EXPECT_EQ(split->applicationPath, "C:\\Program Files\\Tool\\tool.EXE");
  EXPECT_EQ(split->pathToCheck, "C:\\Program Files\\Tool\\tool.EXE");

  split = SplitFetchbayArguments("file:///C:/a.txt C:\\x.exe -opt x.exe");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->applicationPath, "C:\\x.exe -opt x.exe");
  EXPECT_EQ(split->pathToCheck, "C:\\x.exe");

  split = SplitFetchbayArguments("http://h/ \"C:\\x.exe\"");
  ASSERT_TRUE(split);  // quoted: the caller's file check fails on it
  EXPECT_EQ(split->pathToCheck, "\"C:\\x.exe");

  for (const char* unusable :
       {"http://h/a.zip", "http:/h/a C:\\x.exe", "http://h/a C:\\x.com", "", " C:\\x.exe", "http://h/a"}) {
    EXPECT_FALSE(SplitFetchbayArguments(unusable)) << unusable;
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
      {"http://host/a%2F..", "a%2F.."},
      {"http://host/C:x", "C：x"},
      {"http://host/a|b<c>\"d*", "a｜b＜c＞”d＊"},
      {"http://host/表.txt", "表.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFromUrl(c.url), c.name) << c.url;
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
