#include "catalogue/program_paths.h"

#include "common/text_util.h"

std::string UserFolder;

std::string UserFolderFor(const std::string& programFolder, const std::string& loginName) {
  return programFolder + "user\\" + loginName + "\\";
}

std::string ScriptFilePath(const std::string& itemName) {
  return UserFolder + TrimBlanks(itemName) + ".html";
}
