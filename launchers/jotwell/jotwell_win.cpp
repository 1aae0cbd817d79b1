#include "launchers/jotwell/jotwell_win.h"

#include <windows.h>  // with the shell API: ShellExecuteA

#include "common/growing_buffer.h"
#include "common/path_kind.h"
#include "common/text_util.h"
#include "common/win_handles.h"
#include "launchers/common/launcher.h"
#include "launchers/common/launcher_text.h"
#include "launchers/jotwell/jotwell_options.h"
#include "launchers/jotwell/jotwell_paths.h"

namespace {

// Another run appending to the same file, or a reader that shares no
// writing, holds it only for a moment: so long is waited for it.
constexpr DWORD kSharingRetryMs = 2000;
constexpr DWORD kSharingRetryStepMs = 20;

// A variable's value; "" when it is unset.
std::string EnvironmentValue(const char* name) {
  return GrowingBufferCall<char>(CutReport::NeededSize, [name](char* buffer, std::size_t capacity) {
    return GetEnvironmentVariableA(name, buffer, static_cast<DWORD>(capacity));
  });
}

// What a Win32 path call makes of the path ("" when it fails): the full
// path with "." and ".." resolved, trailing dots and blanks dropped and
// reserved device names turned into device paths.
std::string FullPathOf(const std::string& path) {
  return GrowingBufferCall<char>(CutReport::NeededSize, [&path](char* buffer, std::size_t capacity) {
    return GetFullPathNameA(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
  });
}

// The long form of an existing path written with short 8.3 names; "" when
// the path does not exist yet.
std::string LongPathOf(const std::string& path) {
  return GrowingBufferCall<char>(CutReport::NeededSize, [&path](char* buffer, std::size_t capacity) {
    return GetLongPathNameA(path.c_str(), buffer, static_cast<DWORD>(capacity));
  });
}

// Judged on the path as written and as the system resolves it, so that
// neither a trick of the text nor one of the file system gets past.
bool MayAppendTo(const std::string& path) {
  const auto extensions = ExecutableExtensions(EnvironmentValue("PATHEXT"));
  const std::string full = FullPathOf(path);
  if (full.empty()) return false;
  for (const std::string& form : {path, full, LongPathOf(full)}) {
    if (!form.empty() && !IsSafeTextFilePath(form, extensions)) return false;
  }
  return true;
}

// True once the time since start has used up the wait for another writer.
bool WaitedLongEnough(DWORD start) { return GetTickCount() - start >= kSharingRetryMs; }

UniqueFile OpenForAppending(const std::string& path, DWORD start) {
  for (;;) {
    // Appending only: every write goes to the end of the file.
    UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_SHARING_VIOLATION || WaitedLongEnough(start)) return file;
    Sleep(kSharingRetryStepMs);
  }
}

// The turn of one writer of the file. An append is one piece on Windows,
// but not under every emulation of it (Wine finds the end and writes there
// in two steps, so two runs can write over each other), so the writers take
// turns where they can. They lock one byte far beyond the end of any text:
// the lock keeps out no reader, and no writer that does not ask for a turn.
// Where no lock can be had at all (Windows grants none to a handle that may
// only append), the append goes ahead without a turn.
class WriterTurn {
 public:
  WriterTurn(HANDLE file, DWORD start) : file_(file) {
    for (;;) {
      OVERLAPPED where = Where();
      held_ =
          LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where) != FALSE;
      if (held_) return;
      if (GetLastError() != ERROR_LOCK_VIOLATION) {
        mayWrite_ = true;
        return;
      }
      if (WaitedLongEnough(start)) return;
      Sleep(kSharingRetryStepMs);
    }
  }
  WriterTurn(const WriterTurn&) = delete;
  WriterTurn& operator=(const WriterTurn&) = delete;
  ~WriterTurn() {
    if (!held_) return;
    OVERLAPPED where = Where();
    UnlockFileEx(file_, 0, 1, 0, &where);
  }
  // False when another writer kept its turn longer than can be waited for.
  bool mayWrite() const { return held_ || mayWrite_; }

 private:
  static OVERLAPPED Where() {
    OVERLAPPED where = {};
    where.Offset = 0xFFFFFFFE;
    where.OffsetHigh = 0x7FFFFFFF;
    return where;
  }
  HANDLE file_;
  bool held_ = false;
  bool mayWrite_ = false;
};

}  // namespace

PathKind LocalPathKind(const std::string& path) {
  const std::string full = FullPathOf(path);
  if (full.empty() || RootOf(full) != PathRoot::Local) return PathKind::Missing;
  // A drive letter may stand for a share too.
  if (full.size() >= 3 && full[1] == ':' && GetDriveTypeA(full.substr(0, 3).c_str()) == DRIVE_REMOTE) {
    return PathKind::Missing;
  }
  return GetPathKind(path);
}

std::string LocalLongPath(const std::string& path) {
  const std::string full = FullPathOf(path);
  return full.empty() ? full : LongPathOf(full);
}

bool AppendTextLine(const std::string& filePath, const std::string& text) {
  const auto path = StripEnclosingQuotes(filePath);
  if (!path || !MayAppendTo(*path)) return false;
  const DWORD start = GetTickCount();
  UniqueFile file = OpenForAppending(*path, start);
  if (!file) return false;
  const WriterTurn turn(file.get(), start);
  if (!turn.mayWrite()) return false;
  // The whole line in one write, so that it is never split.
  const std::string line = text + "\r\n";
  DWORD written = 0;
  return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

bool RunEditor(const std::string& editorPath, const std::string& filePath) {
  return StartProgram(ProgramWithFileArgument(editorPath, QuoteUnlessEnclosed(filePath)));
}

bool OpenWithAssociation(const std::string& filePath) {
  const auto path = StripEnclosingQuotes(filePath);
  if (!path) return false;
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(GetDesktopWindow(), "open", path->c_str(), "", "", SW_SHOW));
  return result > 32;
}
