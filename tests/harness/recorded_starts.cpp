#include "tests/harness/recorded_starts.h"

#include <shlobj.h>

#include "common/text_util.h"
#include "tests/harness/build_output.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"

bool InstallRecorder(const std::string& path) {
  const std::string folder = GetFolderPart(path);
  if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS) {
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  DeleteFileA((path + ".log").c_str());
  // A copy already in place stays: a start of it may still be running, and
  // Windows refuses to replace a running program's file.
  const std::string recorder = BuildOutputPath(ORBISK_RECORDER_EXE);
  if (ReadFileBytes(path) == ReadFileBytes(recorder)) return true;
  return CopyFileA(recorder.c_str(), path.c_str(), FALSE) != FALSE;
}

namespace {

// The recorder writes the UTF-16 command line as four hex digits per unit.
std::wstring WideOfHex(const std::string& hex) {
  std::wstring wide;
  for (size_t at = 0; at + 4 <= hex.size(); at += 4) {
    wide += static_cast<wchar_t>(std::stoul(hex.substr(at, 4), nullptr, 16));
  }
  return wide;
}

}  // namespace

std::vector<RecordedStart> RecordedStarts(const std::string& recorderPath) {
  // Each start appends four fields, each ended by a NUL; a record still
  // being written is not counted until its last NUL is there.
  const std::string log = ReadFileBytes(recorderPath + ".log");
  std::vector<RecordedStart> starts;
  std::string::size_type pos = 0;
  for (;;) {
    std::string fields[4];
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
    starts.push_back({fields[0], fields[1], fields[2], WideOfHex(fields[3])});
    pos = at;
  }
  return starts;
}

std::vector<RecordedStart> WaitForRecordedStarts(const std::string& recorderPath, size_t count,
                                                 DWORD timeoutMs) {
  // Each record grows the log beside the recorder.
  std::vector<RecordedStart> starts;
  WaitUntilInFolder(
      GetFolderPart(recorderPath),
      [&] {
        starts = RecordedStarts(recorderPath);
        return starts.size() >= count;
      },
      timeoutMs);
  return starts;
}
