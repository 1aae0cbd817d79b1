#include "bridge/host/settings_watch_win.h"

namespace {

// Quiet spell after the last change before the list is read again, and the
// longest a burst of changes may hold it up: a save is seen well within a
// second.
constexpr DWORD kQuietMs = 100;
constexpr int kMaxQuietWaits = 5;

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

struct ChangeTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindCloseChangeNotification(h); }
};
using UniqueChange = UniqueWinHandle<HANDLE, ChangeTraits>;

}  // namespace

SettingsWatcher::SettingsWatcher(std::string folder, std::string fallbackFolder,
                                 std::function<void()> onChange)
    : folder_(std::move(folder)),
      fallbackFolder_(std::move(fallbackFolder)),
      onChange_(std::move(onChange)) {}

SettingsWatcher::~SettingsWatcher() {
  if (stop_) SetEvent(stop_.get());
  if (thread_.joinable()) thread_.join();
}

bool SettingsWatcher::Start() {
  UniqueChange change(FindFirstChangeNotificationA(folder_.c_str(), FALSE, kChanges));
  if (!change) change.reset(FindFirstChangeNotificationA(fallbackFolder_.c_str(), TRUE, kChanges));
  if (!change) return false;
  stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) return false;
  thread_ = std::thread([this, handle = change.release()] { Run(handle); });
  return true;
}

void SettingsWatcher::Run(HANDLE handle) {
  UniqueChange change(handle);
  const HANDLE waits[] = {stop_.get(), change.get()};
  for (;;) {
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    if (!FindNextChangeNotification(change.get())) return;
    for (int i = 0; i < kMaxQuietWaits; ++i) {
      const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kQuietMs);
      if (waited == WAIT_OBJECT_0) return;
      if (waited != WAIT_OBJECT_0 + 1) break;  // quiet
      if (!FindNextChangeNotification(change.get())) return;
    }
    try {
      onChange_();
    } catch (...) {
      // A failed read of the list leaves the extension with the last one.
    }
  }
}
