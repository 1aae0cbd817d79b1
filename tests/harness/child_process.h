// A program a test starts, in a job object of its own, so that the test can
// wait for the program and for everything the program starts in turn. Once
// Wait returns, an application, editor or WWWC the program launched has
// ended as well (a recorder among them has written its record), so a test
// that then finds no record knows that nothing was started, without
// guessing how long a start could take.
#pragma once

#include <windows.h>

#include <string>

#include "common/win_handles.h"

class ChildProcess {
 public:
  // Starts the command line in workingDir ("" for the test's own).
  explicit ChildProcess(const std::string& commandLine, const std::string& workingDir = std::string());
  // Ends whatever of the job still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return static_cast<bool>(process_); }
  DWORD id() const { return id_; }

  // Waits up to timeoutMs for the program and every process it started to
  // end; returns the program's exit code, or -1 when it could not start or
  // the time ran out (the job's processes are then ended).
  int Wait(DWORD timeoutMs = 30000);

  // Waits up to timeoutMs for the program itself (not what it started) to
  // end; false when it still runs, or never started.
  bool EndsWithin(DWORD timeoutMs) const;

 private:
  UniqueHandle job_;
  UniqueHandle port_;  // the job's notifications, among them "no process left"
  UniqueHandle process_;
  DWORD id_ = 0;
};
