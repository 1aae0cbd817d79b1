#include <windows.h>

#include "common/atomic_file.h"
#include "common/temporary_name.h"
#include "common/text_util.h"
#include "common/win_handles.h"

namespace {

// Creates the temporary file under a name no other file has: CREATE_NEW
// never opens an existing file, so two writers, or a leftover file, never
// share one. The seed differs per process, per call and per attempt.
UniqueFile CreateNewTemporarySibling(const std::string& path, std::string* temporary) {
  static LONG counter = 0;
  const std::string folder = GetFolderPart(path);
  const std::string finalName = GetFileNamePart(path);
  const uint64_t base = (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^ GetTickCount64();
  for (int attempt = 0; attempt < 64; ++attempt) {
    const uint64_t seed = base + (static_cast<uint64_t>(InterlockedIncrement(&counter)) << 40);
    *temporary = folder + TemporaryNameFor(finalName, seed);
    UniqueFile file(CreateFileA(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueFile();
}

}  // namespace

std::string CreateTemporarySibling(const std::string& path) {
  std::string temporary;
  return CreateNewTemporarySibling(path, &temporary) ? temporary : std::string();
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
  // Another program may hold the target open for a moment: the browser
  // bridge's host reads Orbisk's settings file whenever it changes, and the
  // system refuses to replace a file that is open. Such a refusal is tried
  // again for a short while before the replace counts as failed.
  constexpr ULONGLONG kWaitForReadersMs = 2000;
  constexpr DWORD kPauseMs = 20;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
    if (!held || GetTickCount64() - start >= kWaitForReadersMs) break;
    Sleep(kPauseMs);
  }
  DeleteFileA(temporary.c_str());
  return false;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  std::string temporary;
  bool written = false;
  {
    UniqueFile file = CreateNewTemporarySibling(path, &temporary);
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
