// The recorder (tests/harness/recorder.cpp) stands in for the applications,
// editors and WWWC that item scripts, the edit dialog and the launchers
// start: a test puts a copy where the program under test expects one, lets
// it be started and reads back every start it logged.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Puts the recorder at path (its folders are created; a copy already there
// is kept, since a start of it may still be running) and removes whatever
// log an earlier copy there left; false when it cannot be copied.
bool InstallRecorder(const std::string& path);

// What one start of the recorder was given.
struct RecordedStart {
  std::string commandLine;       // raw, as GetCommandLineA gave it
  std::string workingDir;        // GetCurrentDirectoryA
  std::string show;              // "<STARTF_USESHOWWINDOW set 0/1> <wShowWindow>"
  std::wstring wideCommandLine;  // raw, as GetCommandLineW gave it
};

// The starts the recorder copy at recorderPath has logged so far.
std::vector<RecordedStart> RecordedStarts(const std::string& recorderPath);

// Waits up to timeoutMs until the copy at recorderPath has logged count
// starts; for a recorder started from outside a ChildProcess (by the program
// under test running in the test's own process). After a ChildProcess has
// ended, whatever it started has logged already: read RecordedStarts.
std::vector<RecordedStart> WaitForRecordedStarts(const std::string& recorderPath, size_t count,
                                                 DWORD timeoutMs = 10000);
