// The host's watch on Orbisk's settings file, in the test's own process.
#include "bridge/host/settings_watch_win.h"

#include <windows.h>

#include <atomic>

#include "catalogue/program_paths.h"
#include "common/win_handles.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class SettingsWatch : public WineTest {
protected:
  void SetUp() override {
    WineTest::SetUp();
    settingsFile_ = UserFolder + "Orbisk.ini";
    seen_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(seen_);
  }

  // Each call records whether the settings file was there to be read.
  std::function<void()> Recorder() {
    return [this] {
      if (GetFileAttributesA(settingsFile_.c_str()) != INVALID_FILE_ATTRIBUTES)
        sawFile_ = true;
      SetEvent(seen_.get());
    };
  }

  std::string settingsFile_;
  UniqueHandle seen_;
  std::atomic<bool> sawFile_{false};
};

// A save that lands while the watch is being set up changes nothing the
// watch could see later: the watcher looks once as soon as it is in place.
TEST_F(SettingsWatch, SaveMadeWhileTheWatchBeganIsSeen) {
  SettingsWatcher watcher(settingsFile_, ProgramFolder(), Recorder());
  ASSERT_TRUE(WriteFileBytes(settingsFile_, "[ItemList]\r\nItemCount=0\r\n"));
  ASSERT_TRUE(watcher.Start());
  ASSERT_EQ(WaitForSingleObject(seen_.get(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(sawFile_);
}

// Later saves are seen too, the first one into a user folder that did not
// exist when watching began.
TEST_F(SettingsWatch, SavesAfterTheWatchBeganAreSeen) {
  ASSERT_TRUE(DeleteTree(UserFolder));
  SettingsWatcher watcher(settingsFile_, ProgramFolder(), Recorder());
  ASSERT_TRUE(watcher.Start());
  ASSERT_EQ(WaitForSingleObject(seen_.get(), 5000),
            WAIT_OBJECT_0); // the first look
  EXPECT_FALSE(sawFile_);
  for (const char *content :
       {"[ItemList]\r\nItemCount=0\r\n", "[ItemList]\r\nItemCount=0\r\n\r\n"}) {
    ResetEvent(seen_.get());
    ASSERT_TRUE(EnsureFolder(UserFolder));
    ASSERT_TRUE(WriteFileBytes(settingsFile_, content));
    ASSERT_EQ(WaitForSingleObject(seen_.get(), 5000), WAIT_OBJECT_0) << content;
    EXPECT_TRUE(sawFile_);
  }
}

} // namespace
