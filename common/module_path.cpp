#include "common/module_path.h"

#include "common/text_util.h"

std::string ProgramFolderOf(const std::string& programPath) {
  std::string folder = GetFolderPart(programPath);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ProgramFileNameOf(const std::string& programPath) {
  std::string name = GetFileNamePart(programPath);
  if (name.empty()) name = programPath;
  const std::string extension = GetExtensionPart(name);
  if (!extension.empty()) name.resize(name.size() - extension.size() - 1);
  return name;
}
