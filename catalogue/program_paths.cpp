#include "catalogue/program_paths.h"

#include "common/text_util.h"

#ifdef _WIN32
#include <windows.h>

#include <dbghelp.h>
#include <lmcons.h>
#include "common/module_path.h"
#include "common/path_kind.h"
#endif

std::string UserFolder;

std::string UserFolderFor(const std::string& programFolder, const std::string& loginName) {
  return programFolder + "user\\" + loginName + "\\";
}

std::string ScriptFilePath(const std::string& itemName) {
  return UserFolder + TrimBlanks(itemName) + ".html";
}

#ifdef _WIN32
// Room for the longest name Windows gives an account (UNLEN): a smaller
// buffer makes the call fail for a long name, and the user folder would lose
// its login name.
std::string GetLoginName() {
  char buffer[UNLEN + 1] = {};
  DWORD size = sizeof buffer;
  if (!GetUserNameA(buffer, &size)) return {};
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string GetUserFolder() { return UserFolderFor(GetProgramFolder(), GetLoginName()); }

bool EnsureFolder(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  // Wine reports success when a file stands where the last folder should be;
  // Windows does not. Checking the result gives the same answer on both.
  return MakeSureDirectoryPathExists(folder.c_str()) && GetPathKind(folder) == PathKind::Folder;
}

std::string SettingsFilePath() { return UserFolder + GetProgramFileName() + ".ini"; }

std::string HelpFilePath() {
  const std::string besideProgram = GetProgramFolder() + GetProgramFileName() + ".hlp";
  if (GetPathKind(besideProgram) == PathKind::File) return besideProgram;
  return GetProgramFileName() + ".hlp";
}
#endif  // _WIN32
