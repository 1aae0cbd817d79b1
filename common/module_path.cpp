#include "common/module_path.h"

#include "common/text_util.h"

#ifdef _WIN32
#include <windows.h>

#include "common/growing_buffer.h"

std::string GetProgramPath() {
  return GrowingBufferCall<char>(CutReport::FilledWhole, [](char* buffer, std::size_t capacity) {
    return GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity));
  });
}

std::string GetProgramFolder() { return ProgramFolderOf(GetProgramPath()); }

std::string GetProgramFileName() { return ProgramFileNameOf(GetProgramPath()); }
#endif

std::string ProgramFolderOf(const std::string& programPath) {
  std::string folder = GetFolderPart(programPath);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ProgramFileNameOf(const std::string& programPath) {
  const std::string name = GetFileNamePart(programPath);
  return WithoutExtension(name.empty() ? programPath : name);
}
