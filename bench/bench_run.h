// What every benchmark program does first, and how it ends.
//   <bench>.exe           the full run: many pairs, every size
//   <bench>.exe --smoke   one pair over the small sizes, for the test run,
//                         which only needs to see that the benchmark still
//                         runs and that its work still comes out right
// A benchmark checks the result of every run it times and ends with 1 when
// any run failed or came out wrong, or when it cannot run at all: figures of
// work that went wrong would mean nothing, and nobody reads them to notice.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/win_handles.h"

struct BenchRun {
  bool smoke = false;
  int pairs = 20;  // timed pairs, after one untimed warm-up pair
};

// Reads the command line; ends the program with 2 on anything it does not
// know. Tells scripts/wine-run.in that the program started: only a program
// that never got as far as this is started again.
inline BenchRun StartBench(int argc, char** argv) {
  const DWORD size = GetEnvironmentVariableA("ORBISK_STARTED_MARKER", nullptr, 0);
  if (size != 0) {
    std::string path(size, '\0');
    path.resize(GetEnvironmentVariableA("ORBISK_STARTED_MARKER", path.data(), size));
    UniqueFile marker(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  BenchRun run;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0) {
      run.smoke = true;
      run.pairs = 1;
    } else {
      std::fprintf(stderr, "usage: %s [--smoke]\n", argv[0]);
      std::exit(2);
    }
  }
  return run;
}

// Says why a run's result is wrong; false, for the run's check to return.
inline bool Wrong(const std::string& why) {
  std::printf("  wrong: %s\n", why.c_str());
  std::fflush(stdout);
  return false;
}

// The exit code: 0 when every run succeeded and came out right.
inline int EndBench(bool allRight) {
  if (!allRight) std::printf("FAILED: a run failed or its result was wrong; the figures mean nothing\n");
  return allRight ? 0 : 1;
}
