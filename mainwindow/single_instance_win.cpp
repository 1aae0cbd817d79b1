#include "mainwindow/single_instance.h"

namespace {

void BringForward(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A modal dialog open over the main window is what the user must get back.
  HWND front = GetLastActivePopup(window);
  SetForegroundWindow(front ? front : window);
}

}  // namespace

bool ClaimSingleInstance(const std::string& mutexName, UniqueHandle& owner) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName.c_str());
  // Read before anything else can set it (closing a handle owner held, say).
  const DWORD error = GetLastError();
  owner.reset(mutex);
  if (!owner) return true;  // without the mutex nothing can be decided: run
  return error != ERROR_ALREADY_EXISTS;
}

bool ActivateRunningInstance(const std::string& windowClass, const std::string& title) {
  HWND window = FindWindowA(windowClass.c_str(), title.c_str());
  if (!window) return false;
  BringForward(window);
  DWORD runningProcess = 0;
  GetWindowThreadProcessId(window, &runningProcess);
  AllowSetForegroundWindow(runningProcess);
  PostMessageA(window, BringToFrontMessage(), GetCurrentProcessId(), 0);
  return true;
}

UINT BringToFrontMessage() {
  static const UINT message = RegisterWindowMessageA("Orbisk.BringToFront");
  return message;
}

void OnBringToFront(HWND window, DWORD requesterProcessId) {
  UniqueHandle requester(OpenProcess(SYNCHRONIZE, FALSE, requesterProcessId));
  if (requester) WaitForSingleObject(requester.get(), 1000);
  // The focus changes that the ended process leaves behind arrive shortly
  // after its end; the window comes forward once they have.
  SetTimer(window, kBringToFrontTimer, 200, [](HWND timerWindow, UINT, UINT_PTR id, DWORD) {
    KillTimer(timerWindow, id);
    BringForward(timerWindow);
  });
}
