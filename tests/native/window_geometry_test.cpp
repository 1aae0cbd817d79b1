// The one rule every centred window follows: centred over its owner (or its
// work area), rounded half to even, kept inside the work area with its
// top-left corner on it, lifted off the bottom edge rather than flush with it.
#include "common/window_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowGeometry, RoundHalfEven) {
  const struct {
    double value;
    int rounded;
  } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {3.5, 4},   {-0.5, 0}, {-1.5, -2},
               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7.0, 7},  {-7.0, -7}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(WindowGeometry, CentredOverTheOwnerAndKeptInTheWorkArea) {
  const ScreenRect screen{0, 0, 1024, 768};
  // A work area that does not start at 0: the taskbar at the top, a bar at
  // the left, or a second monitor right of the first.
  const ScreenRect belowTaskbar{0, 40, 1024, 768};
  const ScreenRect rightOfBar{100, 0, 1024, 768};
  const ScreenRect secondMonitor{1024, 0, 2304, 1024};
  const struct {
    const char* what;
    ScreenRect over;
    int w, h;
    ScreenRect area;
    ScreenPoint expected;
  } cases[] = {
      {"centred over the owner", {300, 200, 700, 500}, 200, 100, screen, {400, 300}},
      // 300 + 401/2 - 200/2 = 400.5 -> 400; 200 + 301/2 - 101/2 = 300 exactly.
      {"halves go to the even integer", {300, 200, 701, 501}, 200, 101, screen, {400, 300}},
      // 301 + 200.5 - 100 = 401.5 -> 402.
      {"and up to it as well", {301, 200, 702, 500}, 200, 100, screen, {402, 300}},
      {"left edge: x = 0", {-150, 200, 50, 500}, 300, 100, screen, {0, 300}},
      {"right edge: flush with the screen", {900, 200, 1100, 500}, 300, 100, screen, {724, 300}},
      {"top edge: y = 0", {300, -200, 700, 0}, 200, 150, screen, {400, 0}},
      // y would be 700 + 30 - 75 = 655, 655 + 150 > 768: (768 - 150) * 0.9 = 556.2.
      {"bottom edge: 90 % of the lowest fitting place", {300, 700, 700, 760}, 200, 150, screen, {400, 556}},
      // (768 - 155) * 0.9 = 551.7 -> 552.
      {"bottom edge rounds", {300, 700, 700, 760}, 200, 155, screen, {400, 552}},
      // 512 - 550 = -38; flush right would put the left edge at -76.
      {"wider than the area: its left edge stays on it", {0, 0, 1024, 768}, 1100, 100, screen, {0, 334}},
      // 384 - 400 = -16 crosses the bottom: (768 - 800) * 0.9 lifts it above the top.
      {"taller than the area: its caption stays on it", {0, 0, 1024, 768}, 200, 800, screen, {412, 0}},
      // The main window: centred in the work area itself. 512 - 156.5 = 355.5 -> 356.
      {"a window without owner centred in the work area",
       {0, 0, 1024, 738},
       313,
       298,
       {0, 0, 1024, 738},
       {356, 220}},
      {"top edge of a work area below a taskbar", {300, -200, 700, 60}, 200, 150, belowTaskbar, {400, 40}},
      // 40 + (728 - 150) * 0.9 = 40 + 520.2.
      {"bottom lift counted from the work area's top",
       {300, 700, 700, 760},
       200,
       150,
       belowTaskbar,
       {400, 560}},
      {"left edge of a work area right of a bar", {-150, 200, 50, 500}, 300, 100, rightOfBar, {100, 300}},
      {"an owner on the second monitor keeps its box there",
       {1900, 300, 2300, 600},
       300,
       100,
       secondMonitor,
       {1950, 400}},
      {"right edge of the second monitor", {2200, 300, 2400, 600}, 300, 100, secondMonitor, {2004, 400}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentredWindowPosition(c.over, c.w, c.h, c.area), c.expected) << c.what;
  }
}

}  // namespace
