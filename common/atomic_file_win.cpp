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

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  return ReadFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) &&
         got == bytes->size();
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
