// One Orbisk per user session: a named mutex in the session's namespace tells
// a second start that the first one runs.
#pragma once

#include <windows.h>

#include <string>

#include "common/win_handles.h"

// The mutex every Orbisk of a session opens.
inline constexpr char kInstanceMutexName[] = "Local\\Orbisk.MainWindow.Instance";

// Opens the named mutex; holds it in owner for as long as the program runs.
// False when another process of the session already holds one by that name.
bool ClaimSingleInstance(const std::string& mutexName, UniqueHandle& owner);

// Brings the running instance's main window (found by its window class and
// title) to the front, or its open dialog when one is open over it. The
// running instance is also asked to come to the front by itself once this
// process has ended (BringToFrontMessage), because the window system may hand
// the focus elsewhere when the process that activated it goes away. False
// when no such window exists.
bool ActivateRunningInstance(const std::string& windowClass, const std::string& title);

// The message a second start posts to the running instance's main window;
// wParam is the second process's id.
UINT BringToFrontMessage();

// The running instance's side: waits (briefly) for the second process to end,
// then, from a timer, brings window, or the dialog open over it, to the front.
inline constexpr UINT_PTR kBringToFrontTimer = 2;
void OnBringToFront(HWND window, DWORD requesterProcessId);
