// Fetchbay under Wine: real downloads from a server in this process, its
// settings file, and the application (a recorder) started on the file.
// winsock2.h, which the server needs, must come before windows.h.
// clang-format off
#include "tests/wine/launchers/http_server.h"
// clang-format on
#include <windows.h>

#include "common/text_util.h"
#include "launchers/fetchbay/fetchbay_rules.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

class Fetchbay : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    // Downloads go straight to 127.0.0.1, never through a proxy.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy"}) {
      SetEnvironmentVariableA(name, nullptr);
    }
    program_ = CopyProgram("Fetchbay", ProgramFolder(), "Fetchbay.exe");
    application_ = CopyProgram("Recorder", ProgramFolder() + "app dir\\", "viewer.exe");
    settings_ = ProgramFolder() + "Fetchbay.ini";
    ASSERT_FALSE(program_.empty());
    ASSERT_FALSE(application_.empty());
    ASSERT_TRUE(server_.running());
  }

  std::string Setting(const char* key) { return IniValue(settings_, "Fetchbay", key); }

  // Runs Fetchbay on url with the recorder as application.
  int Fetch(const std::string& url) { return RunLauncher(program_, url + " " + application_); }

  // What the recorder was started with for target, as the nth start.
  void ExpectApplicationStartedOn(size_t count, const std::string& target) {
    const auto starts = WaitForRecordedStarts(application_, count);
    ASSERT_EQ(starts.size(), count);
    EXPECT_EQ(starts.back().commandLine, "\"" + application_ + "\" \"" + target + "\"");
  }

  SeenMessageBox OnlyNewBox(size_t before) {
    const auto boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), before + 1);
    return boxes.empty() ? SeenMessageBox{} : boxes.back();
  }

  LocalHttpServer server_;
  std::string program_, application_, settings_;
};

}  // namespace

TEST_F(Fetchbay, FirstRunDownloadsBesideTheProgramAndStartsTheApplication) {
  ASSERT_FALSE(FileExists(settings_));
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/files/report.txt"), 0);
  const std::string target = ProgramFolder() + "report.txt";
  EXPECT_EQ(ReadFileBytes(target), LocalHttpServer::BodyFor("/files/report.txt"));
  EXPECT_EQ(Setting("DownloadDir"), ProgramFolder());
  EXPECT_EQ(Setting("LastDownloadFile"), "report.txt");
  ExpectApplicationStartedOn(1, target);
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Fetchbay, NamesFromUrlsStayInsideTheDownloadFolder) {
  struct Case {
    std::string path, name;
  } cases[] = {
      {"/dir/", "NoFileName"},
      {"/get.cgi?id=7&x=1", "get.cgi？id=7&x=1"},
      {"/a\\..\\..\\escaped.txt", "a￥..￥..￥escaped.txt"},
      {"/%E8%A1%A8.txt", "%E8%A1%A8.txt"},
  };
  size_t starts = 0;
  for (const Case& c : cases) {
    ASSERT_EQ(Fetch(server_.BaseUrl() + c.path), 0) << c.path;
    const std::string target = ProgramFolder() + c.name;
    EXPECT_TRUE(FileExists(target)) << Utf8(target);
    EXPECT_EQ(Setting("LastDownloadFile"), c.name);
    ExpectApplicationStartedOn(++starts, target);
  }
  // Nothing was written above the program folder.
  EXPECT_FALSE(FileExists(ProgramFolder() + "..\\escaped.txt"));
  EXPECT_FALSE(FileExists(ProgramFolder() + "..\\..\\escaped.txt"));
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Fetchbay, DownloadDirIsUsedOrRepaired) {
  const std::string downloads = ProgramFolder() + "downloads";
  ASSERT_TRUE(CreateDirectoryA(downloads.c_str(), nullptr));
  // An existing folder, written without its backslash, is used and kept.
  SetIniValue(settings_, "Fetchbay", "DownloadDir", downloads);
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/one.bin"), 0);
  EXPECT_TRUE(FileExists(downloads + "\\one.bin"));
  EXPECT_EQ(Setting("DownloadDir"), downloads);

  // A missing folder is replaced by the program folder, in the file too.
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder() + "gone\\");
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/two.bin"), 0);
  EXPECT_TRUE(FileExists(ProgramFolder() + "two.bin"));
  EXPECT_EQ(Setting("DownloadDir"), ProgramFolder());
}

TEST_F(Fetchbay, LongDownloadDirIsReadWhole) {
  // A folder path within the platform's 259 characters that takes more than
  // the 511 bytes a fixed buffer would have kept: double-byte characters
  // (Greek alpha, 83 BF) in two folders of 127 each.
  std::string component;
  for (int i = 0; i < 127; ++i) component += "α";
  const std::string top = "C:\\" + component + "\\";
  const std::string folder = top + component + "\\";
  ASSERT_GT(folder.size(), 511u);
  ASSERT_TRUE(CreateDirectoryA(top.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);

  SetIniValue(settings_, "Fetchbay", "DownloadDir", folder);
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, ""), 0);
  EXPECT_EQ(Setting("DownloadDir"), folder) << "a cut value names no folder and would have been replaced";
  EXPECT_TRUE(DeleteTree(top));
}

TEST_F(Fetchbay, PreviousDownloadDeletedUnlessNoDelete) {
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/first.bin"), 0);
  ASSERT_TRUE(FileExists(ProgramFolder() + "first.bin"));
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/second.bin"), 0);
  EXPECT_FALSE(FileExists(ProgramFolder() + "first.bin"));
  EXPECT_TRUE(FileExists(ProgramFolder() + "second.bin"));

  SetIniValue(settings_, "Fetchbay", "NoDelete", "1");
  ASSERT_EQ(Fetch(server_.BaseUrl() + "/third.bin"), 0);
  EXPECT_TRUE(FileExists(ProgramFolder() + "second.bin"));
  EXPECT_TRUE(FileExists(ProgramFolder() + "third.bin"));

  // The clean-up happens even on a run that only shows the usage.
  SetIniValue(settings_, "Fetchbay", "NoDelete", "0");
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, "no-arguments-here"), 0);
  EXPECT_FALSE(FileExists(ProgramFolder() + "third.bin"));
  EXPECT_EQ(Setting("LastDownloadFile"), "third.bin");
}

TEST_F(Fetchbay, LastDownloadFileNamingAnotherPlaceIsIgnored) {
  const std::string outside = ProgramFolder() + "keep\\precious.txt";
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "keep").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "downloads").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(outside, "precious"));
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder() + "downloads\\");
  for (const std::string& unsafe :
       {std::string("..\\keep\\precious.txt"), outside, std::string("../keep/precious.txt")}) {
    SetIniValue(settings_, "Fetchbay", "LastDownloadFile", unsafe);
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, ""), 0);
    EXPECT_TRUE(FileExists(outside)) << Utf8(unsafe);
  }
}

TEST_F(Fetchbay, FailedDownloadIsReportedAndKeepsLastDownloadFile) {
  SetIniValue(settings_, "Fetchbay", "LastDownloadFile", "older.bin");
  ExpectMessageBox(IDOK);
  EXPECT_EQ(Fetch(UnreachableBaseUrl() + "/never.bin"), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Fetchbay");
  EXPECT_EQ(boxes[0].text, "ファイルのダウンロードに失敗しました。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_EQ(Setting("LastDownloadFile"), "older.bin");
  EXPECT_TRUE(RecordedStarts(application_).empty());
}

TEST_F(Fetchbay, FileUrlsAreHandedOverWithoutDownload) {
  const std::string local = ProgramFolder() + "local files\\doc 1.txt";
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "local files").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(local, "local"));
  std::string url = local;
  for (char& c : url) {
    if (c == '\\') c = '/';
  }
  url = "file:///" + ReplaceAll(url, " ", "%20");
  ASSERT_EQ(Fetch(url), 0);
  ExpectApplicationStartedOn(1, local);

  // The older form with "|" after the drive letter.
  std::string barred = url;
  barred[9] = '|';
  ASSERT_EQ(Fetch(barred), 0);
  ExpectApplicationStartedOn(2, local);

  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_EQ(Setting("LastDownloadFile"), "");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

TEST_F(Fetchbay, ApplicationThatCannotStartIsReported) {
  const std::string broken = ProgramFolder() + "broken.exe";
  ASSERT_TRUE(WriteFileBytes(broken, "no program"));
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(program_, server_.BaseUrl() + "/kept.bin " + broken), 0);
  const auto boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Fetchbay");
  EXPECT_EQ(boxes[0].text, "アプリケーションの起動に失敗しました。");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
  EXPECT_TRUE(FileExists(ProgramFolder() + "kept.bin"));
  EXPECT_EQ(Setting("LastDownloadFile"), "kept.bin");
}

TEST_F(Fetchbay, UsageForUnusableArguments) {
  const std::string url = server_.BaseUrl() + "/x.bin";
  const std::string texts[] = {
      "",
      url,                                              // no blank
      "127.0.0.1/x.bin " + application_,                // no "://"
      url + " " + ProgramFolder() + "app dir\\viewer",  // no ".exe"
      url + " \"" + application_ + "\"",                // quoted
      url + " " + ProgramFolder() + "missing.exe",      // no such file
  };
  for (const std::string& text : texts) {
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program_, text), 0);
    const SeenMessageBox box = OnlyNewBox(before);
    EXPECT_EQ(box.title, "Fetchbay");
    EXPECT_EQ(box.text, ExpectedUsage("Fetchbay", kFetchbayUsageTail)) << Utf8(text);
    EXPECT_EQ(box.icon, BoxIcon::Information);
  }
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(RecordedStarts(application_).empty());
}
