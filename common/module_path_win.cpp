#include <windows.h>

#include "common/module_path.h"

std::string GetProgramPath() {
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetProgramFolder() { return ProgramFolderOf(GetProgramPath()); }

std::string GetProgramFileName() { return ProgramFileNameOf(GetProgramPath()); }
