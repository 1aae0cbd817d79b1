#include "bridge/host/settings_watch_win.h"

#include "common/text_util.h"

namespace {

// Quiet spell after the last change before the list is read again, and the
// longest a burst of changes may hold it up: a save is seen well within a
// second.
constexpr DWORD kQuietMs = 100;
constexpr int kMaxQuietWaits = 5;

// Change notifications are the fast path; a look at the settings file's size
// and time every so often is the safety net. Under Wine a watch set up before
// the user folder existed can miss the first save into it.
constexpr DWORD kPollMs = 400;

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// The settings file's size and last write; all zero while it is missing.
std::string FileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  return std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) + ":" +
         std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

}  // namespace

SettingsWatcher::SettingsWatcher(std::string settingsFile, std::string fallbackFolder,
                                 std::function<void()> onChange)
    : settingsFile_(std::move(settingsFile)),
      folder_(GetFolderPart(settingsFile_)),
      fallbackFolder_(std::move(fallbackFolder)),
      onChange_(std::move(onChange)) {}

SettingsWatcher::~SettingsWatcher() {
  if (stop_) SetEvent(stop_.get());
  if (thread_.joinable()) thread_.join();
}

bool SettingsWatcher::Start() {
  UniqueChangeNotification change(FindFirstChangeNotificationA(folder_.c_str(), FALSE, kChanges));
  if (!change) change.reset(FindFirstChangeNotificationA(fallbackFolder_.c_str(), TRUE, kChanges));
  if (!change) return false;
  stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) return false;
  thread_ = std::thread([this, handle = change.release()] { Run(handle); });
  return true;
}

void SettingsWatcher::Run(HANDLE handle) {
  UniqueChangeNotification change(handle);
  const HANDLE waits[] = {stop_.get(), change.get()};
  const auto changed = [this] {
    try {
      onChange_();
    } catch (...) {
      // A failed read of the list leaves the extension with the last one.
    }
  };
  // A save made before the stamp is taken is read by the first look below;
  // one made after it changes the stamp or signals the watch.
  std::string stamp = FileStamp(settingsFile_);
  changed();
  for (;;) {
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, kPollMs);
    if (woken == WAIT_TIMEOUT) {
      if (FileStamp(settingsFile_) == stamp) continue;
    } else if (woken != WAIT_OBJECT_0 + 1 || !FindNextChangeNotification(change.get())) {
      return;
    }
    for (int i = 0; i < kMaxQuietWaits; ++i) {
      const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kQuietMs);
      if (waited == WAIT_OBJECT_0) return;
      if (waited != WAIT_OBJECT_0 + 1) break;  // quiet
      if (!FindNextChangeNotification(change.get())) return;
    }
    stamp = FileStamp(settingsFile_);
    changed();
  }
}
