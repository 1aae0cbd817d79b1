// Where a window goes on the screen, as arithmetic on rectangles in screen
// pixels, kept apart from Win32 so that the rule is tested natively. Every
// window Orbisk centres (the main window, the edit dialog, the message boxes)
// goes through CentredWindowPosition, so all of them land alike.
#pragma once

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int RoundHalfEven(double value);

// The top-left corner at, moved so that a width x height window there lies
// inside area: back from the right and bottom edges first, then from the left
// and top ones, so that a window larger than area keeps its caption and its
// left edge on it.
ScreenPoint KeptInside(ScreenPoint at, int width, int height, const ScreenRect& area);

// Top-left corner of a width x height window centred over `over` (its owner,
// or the work area itself for a window without one), then kept inside area,
// the work area of the monitor it is on. A window that would cross area's
// bottom edge is not made flush with it but lifted to 90 % of the lowest
// place that fits, counted from area's top.
ScreenPoint CentredWindowPosition(const ScreenRect& over, int width, int height, const ScreenRect& area);
