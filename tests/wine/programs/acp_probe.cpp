// Prints the ANSI code page the process runs with. Built with the programs'
// manifest, so that the test sees what that manifest makes of a foreign
// system locale.
#include <windows.h>

#include <cstdio>

int main() {
  std::printf("%u\n", GetACP());
  return 0;
}
