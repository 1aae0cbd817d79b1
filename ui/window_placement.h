// Where both windows, their controls and their message boxes go on the
// screen. The programs are system DPI aware (see their manifest): Windows
// does not stretch their windows, so every size given in twips or in 96-DPI
// pixels is scaled here by the window's DPI.
#pragma once

#include <windows.h>

#include <span>

#include "ui/control_layout.h"

// Pixels per inch of window: GetDpiForWindow where Windows has it (10, 1607
// and later), otherwise the vertical pixels per inch of the window's device
// context; 96 when neither answers.
int WindowDpi(HWND window);

// Moves every control of the table in window to its place and gives it its
// help topic, and returns the outer size that window needs for a client area
// of clientWidthTwips x clientHeightTwips. The window itself is not moved:
// each window has its own place on the screen.
SIZE PlaceControls(HWND window, std::span<const ControlLayout> layout, int clientWidthTwips,
                   int clientHeightTwips);

// The work area (the monitor less the taskbar and docked bars) of the monitor
// rect lies most on; the primary monitor's when it lies on none.
RECT WorkAreaAt(const RECT& rect);

// Gives window the size and puts it centred over `over` (screen coordinates),
// inside the work area of over's monitor, by common/window_geometry.h's rule.
void CentreWindow(HWND window, const RECT& over, SIZE size);

// CentreWindow over the window's owner, or over the whole primary screen when
// it has none: where a dialog opens.
void CentreOverOwner(HWND window, SIZE size);
