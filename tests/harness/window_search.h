// Finding the windows of the programs under test from the test process, and
// knowing when such a window's thread has done what it was doing.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// The first top-level window for which matches() holds, in z-order; nullptr
// when there is none.
HWND FindTopLevelWindow(const std::function<bool(HWND)>& matches);

// Every top-level window for which matches() holds, in z-order.
std::vector<HWND> TopLevelWindows(const std::function<bool(HWND)>& matches);

// The first visible top-level window of the process with this class and
// title (as FindWindow takes them); nullptr when there is none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);

// True for a visible dialog (#32770) of any process.
bool IsVisibleDialog(HWND window);

// The process that made window.
DWORD ProcessOf(HWND window);

// Returns once window's thread has handled a message sent to it now, false
// when it did not within timeoutMs. Sent messages are handled only in a
// message loop, so the thread has then finished what it did before it went
// back to one: a dialog its set-up, a window the handler it was in.
bool WaitForWindowThread(HWND window, DWORD timeoutMs = 5000);
