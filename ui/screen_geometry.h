// Placement arithmetic of both windows and their pop-ups, kept apart from
// Win32 so that the rules are tested natively: message boxes centred over
// their owner, help pop-ups beside their control, twips converted to pixels.
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

// Where a message box of boxWidth x boxHeight goes: centred over the owner,
// then kept on a screen of screenWidth x screenHeight. Off the left or top
// edge it is pushed to 0; off the right edge it is made flush with it; off
// the bottom edge it is lifted to 90 % of the lowest position that fits.
ScreenPoint CenteredBoxPosition(const ScreenRect& owner, int boxWidth, int boxHeight, int screenWidth,
                                int screenHeight);

// Top-left corner of a help pop-up of width x height for a control: to the
// right of the control, top edges aligned; to its left when the right side
// has no room; always inside the work area.
ScreenPoint HelpPopupPosition(const ScreenRect& control, int width, int height, const ScreenRect& workArea);

// A length in twips (1440 per inch) as pixels at dpi pixels per inch.
int TwipsToPixels(int twips, int dpi);

// A length given in pixels of a 96 DPI display (the unit of the few fixed
// pixel sizes: status-bar parts, pop-up margins) as pixels at dpi, so that it
// keeps its size beside the text on a display scaled above 100 %.
int PixelsAtDpi(int pixelsAt96, int dpi);

// A control's place in its window's client area, in twips: the unit the
// fixed layouts of both windows are given in.
struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
};
