#include <windows.h>

#include "mainwindow/startup_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return RunOrbisk(instance, showCommand);
}
