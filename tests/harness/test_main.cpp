// main() of every Windows test executable: every test runs with the message
// box watcher and starts with an empty catalogue in memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "catalogue/item_record.h"
#include "common/win_handles.h"
#include "tests/harness/message_boxes.h"

namespace {

class HarnessListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    Items.clear();
    StartMessageBoxWatcher();
  }
  // Fixtures derived from WineTest check the boxes in their own tear-down;
  // this catches the tests that do not.
  void OnTestEnd(const ::testing::TestInfo&) override { StopMessageBoxWatcher(); }
};

// Tells the wrapper that runs this program under Wine that it did start:
// only a program that never got here may be started again.
void MarkStarted() {
  const DWORD size = GetEnvironmentVariableA("ORBISK_STARTED_MARKER", nullptr, 0);
  if (size == 0) return;
  std::string path(size, '\0');
  path.resize(GetEnvironmentVariableA("ORBISK_STARTED_MARKER", path.data(), size));
  UniqueFile marker(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

int main(int argc, char** argv) {
  MarkStarted();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new HarnessListener);
  return RUN_ALL_TESTS();
}
