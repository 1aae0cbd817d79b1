// ShowMessage: boxes centred over their owner, kept in the work area of the
// owner's monitor, with the owner's window disabled while they are open.
#include "ui/message_box.h"

#include <windows.h>

#include "common/window_geometry.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class ShowMessageTest : public WineTest {
 protected:
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
    MessageOwner = nullptr;
    WineTest::TearDown();
  }

  HWND MakeOwner(int x, int y, int w, int h) {
    if (owner_) DestroyWindow(owner_);
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, w, h, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    return owner_;
  }

  HWND owner_ = nullptr;
};

TEST_F(ShowMessageTest, CentredOverTheOwnerAndKeptInTheWorkArea) {
  // The owners below all lie on the primary monitor, at least partly.
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  enum class Expect { Centred, LeftEdge, RightEdge, Bottom };
  const struct {
    const char* what;
    RECT owner;
    Expect expect;
  } cases[] = {
      {"middle",
       {screenW / 2 - 200, screenH / 2 - 150, screenW / 2 + 200, screenH / 2 + 150},
       Expect::Centred},
      {"left edge", {-100, 200, 60, 400}, Expect::LeftEdge},
      {"right edge", {screenW - 60, 200, screenW + 100, 400}, Expect::RightEdge},
      {"bottom edge", {300, screenH - 40, 700, screenH + 60}, Expect::Bottom},
  };
  size_t seen = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MessageOwner =
        MakeOwner(c.owner.left, c.owner.top, c.owner.right - c.owner.left, c.owner.bottom - c.owner.top);
    ExpectMessageBox(IDOK);
    EXPECT_EQ(ShowMessage("位置の確認", MB_ICONEXCLAMATION | MB_OK, "Orbisk"), IDOK);
    ASSERT_EQ(SeenMessageBoxes().size(), ++seen);
    const RECT box = SeenMessageBoxes().back().rect;
    const int w = box.right - box.left, h = box.bottom - box.top;
    const int ownerCentreX = (c.owner.left + c.owner.right) / 2,
              ownerCentreY = (c.owner.top + c.owner.bottom) / 2;
    switch (c.expect) {
      case Expect::Centred:
        EXPECT_NEAR(box.left + w / 2.0, ownerCentreX, 1.0);
        EXPECT_NEAR(box.top + h / 2.0, ownerCentreY, 1.0);
        break;
      case Expect::LeftEdge:
        EXPECT_EQ(box.left, work.left);
        EXPECT_NEAR(box.top + h / 2.0, ownerCentreY, 1.0);
        break;
      case Expect::RightEdge:
        EXPECT_EQ(box.right, work.right);
        EXPECT_NEAR(box.top + h / 2.0, ownerCentreY, 1.0);
        break;
      case Expect::Bottom:
        EXPECT_NEAR(box.left + w / 2.0, ownerCentreX, 1.0);
        EXPECT_EQ(box.top, work.top + RoundHalfEven((work.bottom - work.top - h) * 0.9));
        EXPECT_LT(box.bottom, work.bottom);
        break;
    }
  }
}

TEST_F(ShowMessageTest, ReturnsThePressedButtonAndUsesTheTitle) {
  MessageOwner = MakeOwner(100, 100, 300, 200);
  const struct {
    UINT buttons;
    int press;
    const char* title;
    const char* shownTitle;
    BoxIcon icon;
  } cases[] = {
      {MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2, IDYES, "Orbisk", "Orbisk", BoxIcon::Question},
      {MB_ICONQUESTION | MB_YESNO, IDNO, "Orbisk", "Orbisk", BoxIcon::Question},
      {MB_ICONSTOP | MB_OK, IDOK, "", "Orbisk", BoxIcon::Stop},
  };
  for (const auto& c : cases) {
    ExpectMessageBox(c.press);
    EXPECT_EQ(ShowMessage("本文", c.buttons, c.title), c.press);
    const SeenMessageBox box = SeenMessageBoxes().back();
    EXPECT_EQ(box.title, c.shownTitle);
    EXPECT_EQ(box.text, "本文");
    EXPECT_EQ(box.icon, c.icon);
  }
  EXPECT_EQ(SeenMessageBoxes()[0].defaultButton, IDNO);
  EXPECT_EQ(SeenMessageBoxes()[1].defaultButton, IDYES);
}

TEST_F(ShowMessageTest, TheOwnerIsDisabledWhileTheBoxIsOpen) {
  MessageOwner = MakeOwner(100, 100, 300, 200);
  ExpectMessageBox(IDOK);
  bool enabledDuring = true;
  // Checked from a timer that the box's own loop serves.
  static bool* during = nullptr;
  static HWND owner = nullptr;
  during = &enabledDuring;
  owner = MessageOwner;
  const UINT_PTR timer = SetTimer(
      nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { *during = IsWindowEnabled(owner) != FALSE; });
  ShowMessage("本文", MB_OK, "Orbisk");
  KillTimer(nullptr, timer);
  EXPECT_FALSE(enabledDuring);
  EXPECT_TRUE(IsWindowEnabled(MessageOwner));
}

TEST_F(ShowMessageTest, WithoutAnOwnerTheBoxIsNotMovedAndNoHookStays) {
  MessageOwner = nullptr;
  ExpectMessageBox(IDOK);
  EXPECT_EQ(ShowMessage("所有者なし", MB_OK, "Orbisk"), IDOK);
  // A stale owner handle counts as none.
  MessageOwner = MakeOwner(0, 0, 100, 100);
  DestroyWindow(owner_);
  owner_ = nullptr;
  ExpectMessageBox(IDOK);
  EXPECT_EQ(ShowMessage("所有者なし", MB_OK, "Orbisk"), IDOK);
  ASSERT_EQ(SeenMessageBoxes().size(), 2u);
  // Both where the platform put them: the same place.
  EXPECT_EQ(SeenMessageBoxes()[0].rect.left, SeenMessageBoxes()[1].rect.left);
  EXPECT_EQ(SeenMessageBoxes()[0].rect.top, SeenMessageBoxes()[1].rect.top);
}

}  // namespace
