// Fetchbay under Wine: real downloads from a server in this process, its
// settings file, and the application (a recorder) started on the file.
// winsock2.h, which the server needs, must come before windows.h.
// clang-format off
#include "tests/harness/http_server.h"
// clang-format on
#include <windows.h>

#include <map>

#include "common/text_util.h"
#include "launchers/fetchbay/fetchbay_rules.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

// Every file below folder (relative path to its bytes), to show what a run
// wrote and deleted.
// The names that differ between two snapshots ("-" gone, "*" changed, "+"
// new); "" when they are the same.
std::string ChangedFiles(const FolderSnapshot& before, const FolderSnapshot& after) {
  std::string changed;
  for (const auto& [name, bytes] : before) {
    const auto now = after.find(name);
    if (now == after.end()) {
      changed += " -" + Utf8(name);
    } else if (now->second != bytes) {
      changed += " *" + Utf8(name);
    }
  }
  for (const auto& [name, bytes] : after) {
    if (before.count(name) == 0) changed += " +" + Utf8(name);
  }
  return changed;
}

class Fetchbay : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    // Downloads go straight to 127.0.0.1, never through a proxy.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy"}) {
      SetEnvironmentVariableA(name, nullptr);
    }
    program_ = CopyProgram("Fetchbay", ProgramFolder(), "Fetchbay.exe");
    application_ = ProgramFolder() + "app dir\\viewer.exe";
    settings_ = ProgramFolder() + "Fetchbay.ini";
    ASSERT_FALSE(program_.empty());
    ASSERT_TRUE(InstallRecorder(application_));
    ASSERT_TRUE(server_.running());
  }

  std::string Setting(const char* key) { return IniValue(settings_, "Fetchbay", key); }

  // Runs Fetchbay on url with the recorder as application.
  int Fetch(const std::string& url) { return RunLauncher(program_, url + " " + application_); }

  // What the recorder was started with for target, as the nth start.
  void ExpectApplicationStartedOn(size_t count, const std::string& target) {
    const auto starts = RecordedStarts(application_);
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

// A file URL that names a host, in any spelling, would have the application
// connect to that host (and Windows send it the user's credentials): the
// usage instead, and nothing started, fetched or written.
TEST_F(Fetchbay, FileUrlsNamingAHostGetTheUsage) {
  const std::string urls[] = {
      "file://///127.0.0.1/share/x.pdf",
      "file:////127.0.0.1/share/x.pdf",
      "file://127.0.0.1/share/x.pdf",
      "FILE://127.0.0.1/share/x.pdf",
      "file:///\\\\127.0.0.1\\share\\x.pdf",
      "file:///%5C%5C127.0.0.1%5Cshare/x.pdf",
      "file:///\\\\?\\UNC\\127.0.0.1\\share\\x.pdf",
      "file://localhost/C:/x.pdf",
      // Not taken for a file URL here, but by the download.
      "file:\\\\127.0.0.1\\share\\x.pdf#://",
  };
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder());
  for (const std::string& url : urls) {
    const FolderSnapshot before = FilesBelow(ProgramFolder());
    const size_t boxes = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(Fetch(url), 0) << url;
    const SeenMessageBox box = OnlyNewBox(boxes);
    EXPECT_EQ(box.text, ExpectedUsage("Fetchbay", kFetchbayUsageTail)) << url;
    EXPECT_EQ(box.icon, BoxIcon::Information) << url;
    EXPECT_TRUE(RecordedStarts(application_).empty()) << url;
    EXPECT_EQ(ChangedFiles(before, FilesBelow(ProgramFolder())), "") << url;
  }
  EXPECT_TRUE(server_.Requests().empty());
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

// A link named after a file beside the programs, or after a device, gets a
// free name of its own; the planted programs (recorder copies) never start,
// and a run writes and deletes nothing but its own download and the previous
// one.
TEST_F(Fetchbay, DownloadsNeverReplaceFilesBesideThePrograms) {
  for (const char* planted : {"Clipsy.exe", "Orbisk.exe", "Pagewatch.exe", "wwwc\\WWWC.EXE"}) {
    ASSERT_TRUE(InstallRecorder(ProgramFolder() + planted));
  }
  SetIniValue(ProgramFolder() + "Pagewatch.ini", "Pagewatch", "WwwcPath", ProgramFolder() + "wwwc\\WWWC.EXE");
  ASSERT_TRUE(WriteFileBytes(ProgramFolder() + "notes.txt", "mine"));
  ASSERT_TRUE(WriteFileBytes(ProgramFolder() + "notes (2).txt", "mine too"));
  ASSERT_TRUE(CreateDirectoryA((ProgramFolder() + "downloads").c_str(), nullptr));
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder());

  struct Case {
    std::string path;   // on the server
    std::string saved;  // the name the download gets
    bool noDelete = false;
    std::string folder = "";  // below the program folder
  } cases[] = {
      {"/Clipsy.exe", "Clipsy (2).exe"},
      {"/clipsy.EXE", "clipsy (2).EXE"},  // the file system ignores case
      {"/Orbisk.exe", "Orbisk (2).exe"},
      {"/Orbisk.exe.", "Orbisk (2).exe"},  // the trailing dot would be dropped
      {"/Fetchbay.exe", "Fetchbay (2).exe"},
      {"/Fetchbay.ini", "Fetchbay (2).ini"},
      {"/Pagewatch.ini", "Pagewatch (2).ini"},
      {"/notes.txt", "notes (3).txt"},
      {"/downloads", "downloads (2)"},  // a folder's name is taken too
      // Beside the programs, libraries and settings files are never taken
      // as they are, present or not.
      {"/urlmon.dll", "urlmon (2).dll"},
      {"/Jotwell.ini", "Jotwell (2).ini"},
      {"/Orbisk.exe.manifest", "Orbisk.exe (2).manifest"},
      // Devices are no file names.
      {"/CON", "NoFileName"},
      {"/con.txt", "NoFileName"},
      {"/LPT1.log", "NoFileName"},
      {"/nul", "NoFileName"},
      // The previous download, kept with NoDelete, is the one file a new
      // download of the same name replaces.
      {"/NoFileName", "NoFileName", true},
      {"/notes.txt", "notes (3).txt", true},
      // Elsewhere a library keeps its name.
      {"/urlmon.dll", "urlmon.dll", false, "downloads\\"},
      {"/Clipsy.exe", "Clipsy.exe", false, "downloads\\"},
  };
  size_t starts = 0;
  // The last download's name; the next run deletes that name in its own
  // download folder.
  std::string previous;
  for (const Case& c : cases) {
    const std::string folder = ProgramFolder() + c.folder;
    SetIniValue(settings_, "Fetchbay", "NoDelete", c.noDelete ? "1" : "0");
    SetIniValue(settings_, "Fetchbay", "DownloadDir", folder);
    FolderSnapshot expected = FilesBelow(ProgramFolder());
    if (!c.noDelete) expected.erase(c.folder + previous);

    ASSERT_EQ(Fetch(server_.BaseUrl() + c.path), 0) << c.path;
    ExpectApplicationStartedOn(++starts, folder + c.saved);
    EXPECT_EQ(ReadFileBytes(folder + c.saved), LocalHttpServer::BodyFor(c.path)) << c.path;
    EXPECT_EQ(Setting("LastDownloadFile"), c.saved) << c.path;

    expected[c.folder + c.saved] = LocalHttpServer::BodyFor(c.path);
    FolderSnapshot after = FilesBelow(ProgramFolder());
    for (const char* changes : {"Fetchbay.ini", "app dir\\viewer.exe.log"}) {
      expected.erase(changes);
      after.erase(changes);
    }
    EXPECT_EQ(ChangedFiles(expected, after), "") << c.path;
    previous = c.saved;
  }
  for (const char* planted : {"Clipsy.exe", "Orbisk.exe", "Pagewatch.exe", "wwwc\\WWWC.EXE"}) {
    EXPECT_TRUE(RecordedStarts(ProgramFolder() + planted).empty()) << planted;
  }
  EXPECT_EQ(IniValue(ProgramFolder() + "Pagewatch.ini", "Pagewatch", "WwwcPath"),
            ProgramFolder() + "wwwc\\WWWC.EXE");
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

// The page fills in the URL part of the argument text; whatever it puts after
// a blank lands in the application path. None of these may start a program
// other than the item's own, nor the item's program with other arguments.
TEST_F(Fetchbay, ArgumentsThatCouldStartAnotherProgramGetTheUsage) {
  const std::string victim = ProgramFolder() + "sys\\cmd.exe";
  ASSERT_TRUE(InstallRecorder(victim));
  const std::string local = ProgramFolder() + "doc.txt";
  ASSERT_TRUE(WriteFileBytes(local, "local"));
  std::string localUrl = "file:///" + local;
  for (char& c : localUrl) {
    if (c == '\\') c = '/';
  }
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder());
  const std::string download = server_.BaseUrl() + "/a.txt";

  struct Case {
    std::string selection;  // what the page put where the item's "<ST>" is
    std::string why;
  } cases[] = {
      {"file:///x " + victim + "\" /c calc & rem", "a quote ends the program's name early"},
      {download + " " + victim, "a second program before the item's"},
      {download + " " + victim + "\t", "a tab between the two"},
      {localUrl + "\"\t\"" + victim, "a quote in the file URL's path adds an argument"},
      {localUrl + "\r\n-evil", "a line break in the file URL's path"},
      {localUrl + "\x01", "a control character in the file URL's path"},
  };
  for (const Case& c : cases) {
    const FolderSnapshot before = FilesBelow(ProgramFolder());
    const size_t boxes = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    // The item's template: "<ST> <application>".
    EXPECT_EQ(RunLauncher(program_, c.selection + " " + application_), 0) << c.why;
    const SeenMessageBox box = OnlyNewBox(boxes);
    EXPECT_EQ(box.text, ExpectedUsage("Fetchbay", kFetchbayUsageTail)) << c.why;
    EXPECT_EQ(box.icon, BoxIcon::Information) << c.why;
    const FolderSnapshot after = FilesBelow(ProgramFolder());
    EXPECT_EQ(ChangedFiles(before, after), "") << c.why;
  }
  // The item's own application with nothing after its ".exe" still works.
  ASSERT_EQ(Fetch(localUrl), 0);
  ExpectApplicationStartedOn(1, local);
  EXPECT_TRUE(RecordedStarts(victim).empty());
  EXPECT_TRUE(server_.Requests().empty());
}

// A download counts only when the final HTTP status is 2xx; an error page is
// no file, and a refused connection none either.
TEST_F(Fetchbay, HttpErrorsAndRefusedConnectionsAreFailedDownloads) {
  RefusingPort refusing;
  ASSERT_TRUE(refusing.bound());
  SetIniValue(settings_, "Fetchbay", "DownloadDir", ProgramFolder());
  SetIniValue(settings_, "Fetchbay", "LastDownloadFile", "older.bin");

  struct Case {
    std::string url;
    bool succeeds;
    std::string saved;  // for a success
  } cases[] = {
      {server_.BaseUrl() + "/status/404/page.html", false, ""},
      {server_.BaseUrl() + "/status/500/report.txt", false, ""},
      {server_.BaseUrl() + "/status/403/x.bin", false, ""},
      {server_.BaseUrl() + "/redirect/status/404/moved.bin", false, ""},
      {refusing.BaseUrl() + "/never.bin", false, ""},
      // After a redirect the final status counts; the name is the link's.
      {server_.BaseUrl() + "/redirect/files/moved.bin", true, "moved.bin"},
  };
  for (const Case& c : cases) {
    const FolderSnapshot before = FilesBelow(ProgramFolder());
    const size_t boxes = SeenMessageBoxes().size();
    if (!c.succeeds) ExpectMessageBox(IDOK);
    EXPECT_EQ(Fetch(c.url), 0) << c.url;
    if (c.succeeds) {
      EXPECT_EQ(SeenMessageBoxes().size(), boxes) << c.url;
      EXPECT_EQ(ReadFileBytes(ProgramFolder() + c.saved), LocalHttpServer::BodyFor("/files/moved.bin"));
      EXPECT_EQ(Setting("LastDownloadFile"), c.saved);
      ExpectApplicationStartedOn(1, ProgramFolder() + c.saved);
      continue;
    }
    const SeenMessageBox box = OnlyNewBox(boxes);
    EXPECT_EQ(box.title, "Fetchbay");
    EXPECT_EQ(box.text, "ファイルのダウンロードに失敗しました。") << c.url;
    EXPECT_EQ(box.icon, BoxIcon::Stop);
    EXPECT_EQ(Setting("LastDownloadFile"), "older.bin") << c.url;
    // Nothing written: no error page, no temporary file.
    const FolderSnapshot after = FilesBelow(ProgramFolder());
    EXPECT_EQ(ChangedFiles(before, after), "") << c.url;
    EXPECT_TRUE(RecordedStarts(application_).empty()) << c.url;
  }
}
