#include "mainwindow/single_instance.h"

bool ClaimSingleInstance(const std::string& mutexName, UniqueHandle& owner) {
  owner.reset(CreateMutexA(nullptr, FALSE, mutexName.c_str()));
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (!owner) return true;  // without the mutex nothing can be decided: run
  return !existed;
}

bool ActivateRunningInstance(const std::string& windowClass, const std::string& title) {
  HWND window = FindWindowA(windowClass.c_str(), title.c_str());
  if (!window) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A modal dialog open over the main window is what the user must get back.
  HWND front = GetLastActivePopup(window);
  SetForegroundWindow(front ? front : window);
  return true;
}
