// Every message box shown while one of Orbisk's windows is open goes through
// ShowMessage, which centres it over the window the user works in, inside
// the work area of that window's monitor.
#pragma once

#include <windows.h>

#include <string>

// The window boxes are centred over: the main window or the edit dialog,
// stored by each whenever it becomes active; nullptr before either was.
extern HWND MessageOwner;

// Button and icon codes the program uses.
inline constexpr UINT kCriticalOk = MB_ICONSTOP | MB_OK;                         // 16
inline constexpr UINT kQuestionYesNo = MB_ICONQUESTION | MB_YESNO;               // 36
inline constexpr UINT kWarningOk = MB_ICONEXCLAMATION | MB_OK;                   // 48
inline constexpr UINT kQuestionYesNoNoDefault = kQuestionYesNo | MB_DEFBUTTON2;  // 292

// Shows a modal box with the text, button code and title (the program's
// title when empty), owned by MessageOwner and centred over it; returns the
// button pressed (IDYES, IDNO, IDOK).
int ShowMessage(const std::string& text, UINT buttons, const std::string& title);
