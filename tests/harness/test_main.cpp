// main() of every Windows test executable: every test runs with the message
// box watcher and starts with an empty catalogue in memory.
#include <gtest/gtest.h>

#include "catalogue/item_record.h"
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

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new HarnessListener);
  return RUN_ALL_TESTS();
}
