// The host's standard input and output, the pipes the browser connects.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "bridge/host/framing.h"

// Reads the standard input with ReadFile; 0 at its end or on an error.
ReadSome StandardInputReader();

// Writes whole frames to the standard output. The main thread's answers and
// the watcher's unasked lists share it, so one lock keeps frames whole.
class StandardOutputWriter {
 public:
  StandardOutputWriter();
  // Frames body and writes it; false when the output is gone.
  bool Write(const std::string& body);

 private:
  std::mutex lock_;
  HANDLE output_;
};
