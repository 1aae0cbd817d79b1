#include "tests/harness/recorded_starts.h"

#include <shlobj.h>

#include "common/text_util.h"
#include "tests/harness/build_output.h"
#include "tests/harness/win_test_util.h"

bool InstallRecorder(const std::string& path) {
  const std::string folder = GetFolderPart(path);
  if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS) {
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  DeleteFileA((path + ".log").c_str());
  return CopyFileA(BuildOutputPath(ORBISK_RECORDER_EXE).c_str(), path.c_str(), FALSE) != FALSE;
}

std::vector<RecordedStart> RecordedStarts(const std::string& recorderPath) {
  // Each start appends three fields, each ended by a NUL; a record still
  // being written is not counted until its last NUL is there.
  const std::string log = ReadFileBytes(recorderPath + ".log");
  std::vector<RecordedStart> starts;
  std::string::size_type pos = 0;
  for (;;) {
    std::string fields[3];
    std::string::size_type at = pos;
    bool whole = true;
    for (std::string& field : fields) {
      const auto end = log.find('\0', at);
      if (end == std::string::npos) {
        whole = false;
        break;
      }
      field = log.substr(at, end - at);
      at = end + 1;
    }
    if (!whole) break;
    starts.push_back({fields[0], fields[1], fields[2]});
    pos = at;
  }
  return starts;
}

std::vector<RecordedStart> WaitForRecordedStarts(const std::string& recorderPath, size_t count,
                                                 DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto starts = RecordedStarts(recorderPath);
    if (starts.size() >= count || GetTickCount() - start > timeoutMs) return starts;
    Sleep(20);
  }
}
