// The main window's OS-free rules: where help pop-ups go, the layout in
// pixels, the texts, which drops start an Add and which names get a tooltip.
#include <gtest/gtest.h>

#include <set>

#include "mainwindow/list_rules.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/main_window_texts.h"
#include "ui/screen_geometry.h"

namespace {

TEST(MainWindowRules, HelpPopupBesideTheControl) {
  const ScreenRect work{0, 0, 1024, 738};
  const struct {
    const char* what;
    ScreenRect control;
    int w, h;
    ScreenPoint expected;
  } cases[] = {
      {"right of the control, tops aligned", {100, 100, 200, 125}, 300, 80, {204, 100}},
      {"left of it when the right has no room", {800, 100, 900, 125}, 300, 80, {496, 100}},
      {"kept above the bottom of the work area", {100, 700, 200, 725}, 300, 80, {204, 658}},
      {"kept inside on the left", {50, 100, 950, 125}, 300, 80, {0, 100}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HelpPopupPosition(c.control, c.w, c.h, work), c.expected) << c.what;
  }
}

TEST(MainWindowRules, LayoutInPixelsAt96And120Dpi) {
  struct Pixels {
    int left, top, width, height;
  };
  const struct {
    MainControl control;
    Pixels at96;
  } cases[] = {
      {MainControl::Label1, {16, 16, 110, 12}},     {MainControl::LstItems, {16, 33, 193, 148}},
      {MainControl::BtnAdd, {216, 32, 81, 25}},     {MainControl::BtnEdit, {216, 63, 81, 25}},
      {MainControl::BtnRename, {216, 94, 81, 25}},  {MainControl::BtnDel, {216, 125, 81, 25}},
      {MainControl::BtnAllDel, {216, 156, 81, 25}}, {MainControl::TxtComment, {16, 192, 281, 81}},
  };
  for (const auto& c : cases) {
    const TwipsRect t = MainControlTwips(c.control);
    EXPECT_EQ(TwipsToPixels(t.left, 96), c.at96.left);
    EXPECT_EQ(TwipsToPixels(t.top, 96), c.at96.top);
    EXPECT_EQ(TwipsToPixels(t.width, 96), c.at96.width);
    EXPECT_EQ(TwipsToPixels(t.height, 96), c.at96.height);
  }
  EXPECT_EQ(TwipsToPixels(kMainClientWidthTwips, 96), 313);
  EXPECT_EQ(TwipsToPixels(kMainClientHeightTwips, 96), 298);
  // 125 % scaling: 12 twips a pixel; 2895 / 12 = 241.25.
  EXPECT_EQ(TwipsToPixels(2895, 120), 241);
  EXPECT_EQ(TwipsToPixels(4470, 120), 372);  // 372.5: the half goes to the even pixel
}

// The status bar's part edges and the help pop-up's sizes are pixels of a 96
// DPI display; at 125 % to 200 % they grow with the text.
TEST(MainWindowRules, PixelsOf96DpiScaleWithTheDisplay) {
  const struct {
    int pixels, dpi, expected;
  } cases[] = {
      {70, 96, 70},    {90, 96, 90},   {70, 120, 88},  // 87.5: the half goes to the even pixel
      {90, 120, 112},  {70, 144, 105}, {90, 144, 135}, {70, 192, 140},
      {300, 168, 525}, {6, 144, 9},    {0, 144, 0},    {-1, 192, -2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PixelsAtDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

TEST(MainWindowRules, ExitButtonNeverInsideTheWindow) {
  const TwipsRect exit = MainControlTwips(MainControl::BtnExit);
  EXPECT_EQ(exit.left, -500);
  EXPECT_EQ(exit.top, -500);
  for (const int dpi : {96, 120, 144, 192}) {
    EXPECT_LE(TwipsToPixels(exit.left, dpi) + TwipsToPixels(exit.width, dpi), 0) << dpi;
    EXPECT_LE(TwipsToPixels(exit.top, dpi) + TwipsToPixels(exit.height, dpi), 0) << dpi;
  }
}

TEST(MainWindowRules, HelpTopicsOfTheControls) {
  const struct {
    MainControl control;
    int topic;
  } cases[] = {{MainControl::Label1, 2},     {MainControl::LstItems, 2},   {MainControl::BtnAdd, 3},
               {MainControl::BtnEdit, 4},    {MainControl::BtnDel, 5},     {MainControl::BtnAllDel, 6},
               {MainControl::TxtComment, 7}, {MainControl::BtnRename, 26}, {MainControl::BtnExit, 0}};
  for (const auto& c : cases) EXPECT_EQ(MainHelpTopic(c.control), c.topic);
  // Each row names its own control; the exit button is the dialog's IDCANCEL.
  std::set<int> ids;
  for (const ControlLayout& row : kMainLayout) ids.insert(row.id);
  EXPECT_EQ(ids.size(), kMainLayout.size());
  EXPECT_EQ(kMainLayout[static_cast<size_t>(MainControl::BtnExit)].id, 2);
}

TEST(MainWindowRules, Texts) {
  EXPECT_EQ(ItemCountText(0), "項目数：0");
  EXPECT_EQ(ItemCountText(40), "項目数：40");
  EXPECT_EQ(VersionStatusText("1.05", "(C) Someone"), "v1.05  (C) Someone");
  EXPECT_EQ(DeleteConfirmText("メモ"), "ＩＥの右クリックメニューから「メモ」を削除しますか？");
  EXPECT_STREQ(kDeleteAllConfirmText, "ＩＥの右クリックメニューから一覧の全項目を削除しますか？");
  EXPECT_EQ(AlreadyRunningText("Orbisk"), "Orbisk は既に起動されています。");
  EXPECT_EQ(SaveFailedText("C:\\P\\user\\u\\Orbisk.ini"),
            "設定ファイルの保存に失敗しました。\r\nC:\\P\\user\\u\\Orbisk.ini");
  // Two lines, each opened by an ideographic space (81 40 in code page 932).
  const std::string notice = kListNotice;
  const auto lineEnd = notice.find("\r\n");
  ASSERT_NE(lineEnd, std::string::npos);
  EXPECT_EQ(notice.substr(0, 2), "\x81\x40");
  EXPECT_EQ(notice.substr(lineEnd + 2, 2), "\x81\x40");
  EXPECT_EQ(notice.find("\r\n", lineEnd + 2), std::string::npos);
  EXPECT_EQ(
      notice,
      "　Internet Explorer の制限（32個）を超えて登録することができますが、超えた分は右クリックメニューには"
      "表示されません。\r\n　処理結果を反映させるには、Internet Explorer の再起動が必要です。");
}

TEST(MainWindowRules, WhichDropsStartAnAdd) {
  const struct {
    const char* path;
    PathKind kind;
    bool accepted;
  } cases[] = {
      {"C:\\Tools\\viewer.exe", PathKind::File, true},
      {"C:\\Tools\\VIEWER.EXE", PathKind::File, true},
      {"C:\\Tools\\viewer.Exe", PathKind::File, true},
      {"C:\\Tools\\表示.exe", PathKind::File, true},
      {"C:\\Tools\\readme.txt", PathKind::File, false},
      {"C:\\Tools\\viewer.lnk", PathKind::File, false},
      {"C:\\Tools\\viewer.exe.bak", PathKind::File, false},
      {"C:\\Tools\\bin.exe", PathKind::Folder, false},
      {"C:\\Tools\\gone.exe", PathKind::Missing, false},
      {"C:\\RECYCLER\\S-1-5-21\\Dc1.exe", PathKind::File, false},
      {"D:\\Recycled\\Dc2.exe", PathKind::File, false},
      {"C:\\$Recycle.Bin\\S-1-5-21\\$R1.exe", PathKind::File, false},
      {"C:\\Tools\\RECYCLER\\viewer.exe", PathKind::File, true},  // only the bin at the drive's root
      {"exe", PathKind::File, false},
      {"", PathKind::Missing, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAcceptableDrop(c.path, c.kind), c.accepted) << c.path;
}

TEST(MainWindowRules, FullNameTipOnlyWhenTheNameDoesNotFit) {
  const struct {
    int listWidth, nameWidth;
    bool tip;
  } cases[] = {
      {193, 100, false}, {193, 187, false},  // 187 * 1.03 = 192.61 -> 193: fits
      {193, 188, true},                      // 193.64 -> 194
      {200, 194, false},                     // 199.82 -> 200
      {193, 193, true},  {193, 400, true},  {150, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NeedsFullNameTip(c.listWidth, c.nameWidth), c.tip) << c.listWidth << " " << c.nameWidth;
  }
}

}  // namespace
