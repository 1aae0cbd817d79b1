#include <windows.h>

#include "mainwindow/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return RunOrbisk(instance, showCommand);
}
