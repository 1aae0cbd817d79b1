#include <windows.h>

#include "common/atomic_file.h"
#include "common/win_handles.h"

std::string TemporarySibling(const std::string& path) {
  // Unique per call: the profile functions cache files by name, and a reused
  // name could be served from that cache.
  static LONG counter = 0;
  return path + "." + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(InterlockedIncrement(&counter)) + ".tmp";
}

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
  // A read-only target is not to be written. Windows refuses the move by
  // itself; Wine would replace the file, so ask first.
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (MoveFileExA(temporary.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temporary.c_str());
  return false;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = TemporarySibling(path);
  bool written = false;
  {
    UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD done = 0;
    written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size() && FlushFileBuffers(file.get());
  }
  if (!written) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return ReplaceFileWith(temporary, path);
}
