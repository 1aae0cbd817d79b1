// The message-box guard itself: what the later tests rely on when they answer
// and inspect boxes.
#include <windows.h>

#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"

namespace {
class Harness : public WineTest {};
}  // namespace

TEST_F(Harness, AnswersAnnouncedBoxesAndRecordsWhatTheyShowed) {
  struct Case {
    UINT style;
    int answer;
    BoxIcon icon;
    std::vector<int> buttons;
    int defaultButton;
  } cases[] = {
      {MB_OK | MB_ICONSTOP, IDOK, BoxIcon::Stop, {IDOK}, IDOK},
      {MB_YESNO | MB_ICONQUESTION, IDYES, BoxIcon::Question, {IDYES, IDNO}, IDYES},
      {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO, BoxIcon::Question, {IDYES, IDNO}, IDNO},
      {MB_OK | MB_ICONEXCLAMATION, IDOK, BoxIcon::Warning, {IDOK}, IDOK},
      {MB_OK | MB_ICONINFORMATION, IDOK, BoxIcon::Information, {IDOK}, IDOK},
  };
  size_t n = 0;
  for (const Case& c : cases) {
    ExpectMessageBox(c.answer);
    EXPECT_EQ(MessageBoxA(nullptr, "本文\r\n二行目", "表題", c.style), c.answer);
    const auto boxes = SeenMessageBoxes();
    ASSERT_EQ(boxes.size(), ++n);
    EXPECT_EQ(boxes.back().title, "表題");
    EXPECT_EQ(boxes.back().text, "本文\r\n二行目");
    EXPECT_EQ(boxes.back().icon, c.icon);
    EXPECT_EQ(boxes.back().buttons, c.buttons);
    EXPECT_EQ(boxes.back().defaultButton, c.defaultButton);
    EXPECT_EQ(boxes.back().processId, GetCurrentProcessId());
  }
}
