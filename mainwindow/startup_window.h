#pragma once

#include <windows.h>

// Runs the program: loads the catalogue and shows the main window until it is
// closed. Returns the exit code.
int RunOrbisk(HINSTANCE instance, int showCommand);
