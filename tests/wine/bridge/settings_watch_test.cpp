// The host's watch on Orbisk's settings file, in the test's own process.
#include "bridge/host/settings_watch_win.h"

#include <windows.h>

#include <atomic>

#include "catalogue/program_paths.h"
#include "common/win_handles.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

constexpr long long kNoFile = -1;

class SettingsWatch : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    settingsFile_ = UserFolder + "Orbisk.ini";
    called_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    ASSERT_TRUE(called_);
  }

  // Each call notes the size of the settings file it could read, if any.
  std::function<void()> Recorder() {
    return [this] {
      WIN32_FILE_ATTRIBUTE_DATA data;
      seenSize_ = GetFileAttributesExA(settingsFile_.c_str(), GetFileExInfoStandard, &data)
                      ? static_cast<long long>(data.nFileSizeLow)
                      : kNoFile;
      SetEvent(called_.get());
    };
  }

  // Whether a call saw the settings file at this size within 5 s. Calls for
  // steps on the way (the folder made, the file not yet written) are passed.
  bool CalledSeeing(long long size) {
    const ULONGLONG end = GetTickCount64() + 5000;
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      if (WaitForSingleObject(called_.get(), static_cast<DWORD>(end - now)) != WAIT_OBJECT_0) return false;
      if (seenSize_ == size) return true;
    }
  }

  std::string settingsFile_;
  UniqueHandle called_;
  std::atomic<long long> seenSize_{kNoFile};
};

// A save that lands while the watch is being set up changes nothing the
// watch could see later: the watcher looks once as soon as it is in place.
TEST_F(SettingsWatch, SaveMadeWhileTheWatchBeganIsSeen) {
  const std::string content = "[ItemList]\r\nItemCount=0\r\n";
  SettingsWatcher watcher(settingsFile_, ProgramFolder(), Recorder());
  ASSERT_TRUE(WriteFileBytes(settingsFile_, content));
  ASSERT_TRUE(watcher.Start());
  EXPECT_TRUE(CalledSeeing(static_cast<long long>(content.size())));
}

// Later saves are seen too, the first one into a user folder that did not
// exist when watching began.
TEST_F(SettingsWatch, SavesAfterTheWatchBeganAreSeen) {
  ASSERT_TRUE(DeleteTree(UserFolder));
  SettingsWatcher watcher(settingsFile_, ProgramFolder(), Recorder());
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(CalledSeeing(kNoFile));  // the first look
  for (const std::string content : {"[ItemList]\r\nItemCount=0\r\n", "[ItemList]\r\nItemCount=0\r\n\r\n"}) {
    ASSERT_TRUE(EnsureFolder(UserFolder));
    ASSERT_TRUE(WriteFileBytes(settingsFile_, content));
    EXPECT_TRUE(CalledSeeing(static_cast<long long>(content.size()))) << content.size() << " bytes";
  }
}

}  // namespace
