// The per-user folder and the path helpers on the real file system.
#include <windows.h>

#include "catalogue/program_paths.h"
#include "common/module_path.h"
#include "common/path_kind.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {
class ProgramPaths : public WineTest {};
}  // namespace

TEST_F(ProgramPaths, PathKinds) {
  ASSERT_TRUE(WriteFileBytes(ProgramFolder() + "file.txt", "x"));
  EXPECT_EQ(GetPathKind(ProgramFolder() + "file.txt"), PathKind::File);
  EXPECT_EQ(GetPathKind(ProgramFolder()), PathKind::Folder);
  EXPECT_EQ(GetPathKind(ProgramFolder().substr(0, ProgramFolder().size() - 1)), PathKind::Folder);
  EXPECT_EQ(GetPathKind(ProgramFolder() + "missing"), PathKind::Missing);
  EXPECT_EQ(GetPathKind(""), PathKind::Missing);
  EXPECT_EQ(GetPathKind("C:\\bad|name"), PathKind::Missing);
}

TEST_F(ProgramPaths, EnsureFolderCreatesEveryMissingLevelAndFailsOnAFile) {
  const std::string nested = ProgramFolder() + "user\\someone";
  EXPECT_TRUE(EnsureFolder(nested));
  EXPECT_EQ(GetPathKind(nested), PathKind::Folder);
  ASSERT_TRUE(WriteFileBytes(ProgramFolder() + "blocker", "x"));
  EXPECT_FALSE(EnsureFolder(ProgramFolder() + "blocker\\"));
}

TEST_F(ProgramPaths, UserFolderOfTheRunningProgram) {
  const std::string login = GetLoginName();
  EXPECT_FALSE(login.empty());
  EXPECT_EQ(GetUserFolder(), GetProgramFolder() + "user\\" + login + "\\");
  EXPECT_EQ(SettingsFilePath(), UserFolder + GetProgramFileName() + ".ini");
  EXPECT_EQ(ScriptFilePath(" \x95\x5C "), UserFolder + "\x95\x5C.html");
}

TEST_F(ProgramPaths, HelpFileBesideTheProgramOrBareName) {
  const std::string beside = GetProgramFolder() + GetProgramFileName() + ".hlp";
  DeleteFileA(beside.c_str());
  EXPECT_EQ(HelpFilePath(), GetProgramFileName() + ".hlp");
  ASSERT_TRUE(WriteFileBytes(beside, "help"));
  EXPECT_EQ(HelpFilePath(), beside);
  DeleteFileA(beside.c_str());
}
