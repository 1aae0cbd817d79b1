// A do-nothing windowless program, built as the launchers are: the yardstick
// for their start-up and run times.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
