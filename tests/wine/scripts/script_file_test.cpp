// Writing item scripts to disk: the item's path, whole rewrites, and a failed
// rewrite that leaves the working script as it was.
#include <windows.h>

#include "catalogue/fixed_string_script.h"
#include "catalogue/launcher_script.h"
#include "catalogue/program_paths.h"
#include "catalogue/version_info.h"
#include "common/win_handles.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class ScriptFile : public WineTest {
 protected:
  // Names of the files in UserFolder.
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const UniqueFind search(FindFirstFileA((UserFolder + "*").c_str(), &found));
    if (!search) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search.get(), &found));
    return names;
  }
};

const char kApp[] = "C:\\Tools\\viewer.exe";

}  // namespace

TEST_F(ScriptFile, WrittenWholeToTheItemsPath) {
  VersionText = "1.05";
  RightsNotice = "Copyright (C) Orbisk developers";
  ASSERT_TRUE(WriteLauncherScript("  Viewer \x95\x5C  ", kApp, "<TT2> <SS> <IT>", 2, false));  // 表
  const std::string path = UserFolder + "Viewer \x95\x5C.html";
  EXPECT_EQ(ReadFileBytes(path), LauncherScriptText("Viewer \x95\x5C", kApp, "<TT2> <SS> <IT>", 2, false));
  // A shorter rewrite replaces the whole file.
  ASSERT_TRUE(WriteLauncherScript("Viewer \x95\x5C", kApp, "", 1, true));
  EXPECT_EQ(ReadFileBytes(path), LauncherScriptText("Viewer \x95\x5C", kApp, "", 1, true));
  ASSERT_TRUE(WriteFixedStringScript(" Stamp ", "<Y4>"));
  EXPECT_EQ(ReadFileBytes(UserFolder + "Stamp.html"), FixedStringScriptText("<Y4>"));
  EXPECT_EQ(Files(), (std::vector<std::string>{"Stamp.html", "Viewer \x95\x5C.html"}));
}

TEST_F(ScriptFile, FailedRewriteKeepsTheWorkingScript) {
  ASSERT_TRUE(WriteLauncherScript("Viewer", kApp, "<AU>", 1, false));
  ASSERT_TRUE(WriteFixedStringScript("Stamp", "<Y4>"));
  const std::string launcher = ReadFileBytes(UserFolder + "Viewer.html");
  const std::string fixed = ReadFileBytes(UserFolder + "Stamp.html");
  {
    // Another program holds both files open: they may be written over in
    // place, but not replaced. Writing in place would cut the working script
    // short before the new one is complete; the rewrite must fail instead.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    UniqueFile heldLauncher(CreateFileA((UserFolder + "Viewer.html").c_str(), GENERIC_READ, share, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    UniqueFile heldFixed(CreateFileA((UserFolder + "Stamp.html").c_str(), GENERIC_READ, share, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(heldLauncher && heldFixed);
    EXPECT_FALSE(WriteLauncherScript("Viewer", kApp, "<TT> <IU> a much longer template", 3, true));
    EXPECT_FALSE(WriteFixedStringScript("Stamp", "<D2>.<M2>."));
  }
  EXPECT_EQ(ReadFileBytes(UserFolder + "Viewer.html"), launcher);
  EXPECT_EQ(ReadFileBytes(UserFolder + "Stamp.html"), fixed);
  EXPECT_EQ(Files(), (std::vector<std::string>{"Stamp.html", "Viewer.html"})) << "no temporary file left";
}

TEST_F(ScriptFile, MissingFolderFails) {
  UserFolder = ProgramFolder() + "user\\nobody\\";
  EXPECT_FALSE(WriteLauncherScript("Viewer", kApp, "<AU>", 1, false));
  EXPECT_FALSE(WriteFixedStringScript("Stamp", "x"));
  EXPECT_EQ(GetFileAttributesA(UserFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ScriptFile, NamesThatFillThePathLimitAreWritten) {
  // The name check lets a script path reach 255 bytes; the temporary file
  // written on the way must fit wherever the script itself fits.
  const std::size_t room = 255 - UserFolder.size() - 5;
  ASSERT_GT(room, 20u);
  std::string doubleByte;
  while (doubleByte.size() + 2 <= room) doubleByte += "\x95\x5C";  // 表
  if (doubleByte.size() < room) doubleByte += "x";
  const std::string names[] = {std::string(room, 'a'), doubleByte};
  for (const std::string& name : names) {
    const std::string path = UserFolder + name + ".html";
    ASSERT_EQ(path.size(), 255u);
    ASSERT_TRUE(WriteLauncherScript(name, kApp, "<TU>", 1, false)) << name.size();
    EXPECT_EQ(ReadFileBytes(path), LauncherScriptText(name, kApp, "<TU>", 1, false));
    ASSERT_TRUE(WriteFixedStringScript(name, "<Y4>")) << name.size();
    EXPECT_EQ(ReadFileBytes(path), FixedStringScriptText("<Y4>"));
    EXPECT_EQ(Files(), std::vector<std::string>{name + ".html"}) << "no temporary file left";
    ASSERT_TRUE(DeleteFileA(path.c_str()));
  }
}
