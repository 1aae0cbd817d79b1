// One Orbisk per user session: a named mutex in the session's namespace tells
// a second start that the first one runs.
#pragma once

#include <string>

#include "common/win_handles.h"

// The mutex every Orbisk of a session opens.
inline constexpr char kInstanceMutexName[] = "Local\\Orbisk.MainWindow.Instance";

// Opens the named mutex; holds it in owner for as long as the program runs.
// False when another process of the session already holds one by that name.
bool ClaimSingleInstance(const std::string& mutexName, UniqueHandle& owner);

// Brings the running instance's main window (found by its window class and
// title) to the front, or its open dialog when one is open over it. False when
// no such window exists.
bool ActivateRunningInstance(const std::string& windowClass, const std::string& title);
