// The DPI a window is laid out for. The programs are system DPI aware (see
// their manifest): Windows does not stretch their windows, so every size
// given in twips or in 96-DPI pixels is scaled here by the window's DPI.
#pragma once

#include <windows.h>

// Pixels per inch of window: GetDpiForWindow where Windows has it (10, 1607
// and later), otherwise the vertical pixels per inch of the window's device
// context; 96 when neither answers.
int WindowDpi(HWND window);
