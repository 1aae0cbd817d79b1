#include "tests/harness/waiting.h"

#include "common/win_handles.h"
#include "tests/harness/win_test_util.h"

namespace {

// How often WaitUntil looks: short against the waits, long enough that the
// looking costs nothing.
constexpr DWORD kLookEveryMs = 20;

// The safety net of WaitUntilInFolder, for a change the watch missed.
constexpr DWORD kFolderLookEveryMs = 250;

// Milliseconds left of timeoutMs since start; 0 once it is spent.
DWORD Remaining(ULONGLONG start, DWORD timeoutMs) {
  const ULONGLONG spent = GetTickCount64() - start;
  return spent < timeoutMs ? static_cast<DWORD>(timeoutMs - spent) : 0;
}

// Looks at done() until it holds, spending the time between the looks in
// pause(ms).
bool LookUntil(const std::function<bool()>& done, DWORD timeoutMs, void (*pause)(DWORD)) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (done()) return true;
    const DWORD left = Remaining(start, timeoutMs);
    if (left == 0) return false;
    pause(left < kLookEveryMs ? left : kLookEveryMs);
  }
}

}  // namespace

// Nothing to wait on (see the header): the one place that sleeps.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return LookUntil(done, timeoutMs, [](DWORD ms) { Sleep(ms); });
}

bool WaitUntilPumping(const std::function<bool()>& done, DWORD timeoutMs) {
  return LookUntil(done, timeoutMs, PumpMessages);
}

bool WaitUntilInFolder(const std::string& folder, const std::function<bool()>& done, DWORD timeoutMs) {
  constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                             FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
  // Watched before the first look, so that no change after it goes unseen.
  const UniqueChangeNotification changes(FindFirstChangeNotificationA(folder.c_str(), TRUE, kChanges));
  // A folder that is not there yet cannot be watched: it is looked at.
  if (!changes) return WaitUntil(done, timeoutMs);
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (done()) return true;
    const DWORD left = Remaining(start, timeoutMs);
    if (left == 0) return false;
    const DWORD slice = left < kFolderLookEveryMs ? left : kFolderLookEveryMs;
    if (WaitForSingleObject(changes.get(), slice) == WAIT_OBJECT_0) FindNextChangeNotification(changes.get());
  }
}
