#include "common/module_path.h"

#include "common/text_util.h"

std::string ProgramFolderOf(const std::string& programPath) {
  std::string folder = GetFolderPart(programPath);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ProgramFileNameOf(const std::string& programPath) {
  const std::string name = GetFileNamePart(programPath);
  return WithoutExtension(name.empty() ? programPath : name);
}
