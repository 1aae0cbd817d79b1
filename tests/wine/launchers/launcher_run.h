// Running the real launcher programs as an item's script starts them: a copy
// of the program in the test's own folder, started with its quoted path, one
// blank and the argument text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The built program (Clipsy, Jotwell, Fetchbay, Pagewatch, Recorder) as a
// Windows path.
std::string BuiltProgram(const std::string& name);

// Copies a built program into folder under fileName; returns its full path.
std::string CopyProgram(const std::string& name, const std::string& folder, const std::string& fileName);

// The command line a menu script uses: the quoted path, one blank, the text.
std::string MenuCommandLine(const std::string& programPath, const std::string& argumentText);

// Starts the command line and waits for the process to end (message boxes
// are answered by the harness meanwhile); returns the exit code or -1.
int RunCommandLine(const std::string& commandLine, const std::string& workingDir = std::string());

// Runs a launcher as a menu script would and waits for it.
int RunLauncher(const std::string& programPath, const std::string& argumentText,
                const std::string& workingDir = std::string());

// A started process that the test drives while it runs.
class RunningProcess {
 public:
  explicit RunningProcess(const std::string& commandLine);
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;
  ~RunningProcess();
  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  // Waits for the end; -1 after the timeout (the process is then killed).
  int Wait(DWORD timeoutMs = 30000);

 private:
  PROCESS_INFORMATION process_ = {};
};

// One start of the recorder program: its command line and working folder.
struct RecordedStart {
  std::string commandLine;
  std::string workingDir;
};

// The starts a recorder copy at recorderPath has logged so far.
std::vector<RecordedStart> RecordedStarts(const std::string& recorderPath);

// Waits until the recorder has logged count starts (it runs detached from
// the launcher that started it).
std::vector<RecordedStart> WaitForRecordedStarts(const std::string& recorderPath, size_t count,
                                                 DWORD timeoutMs = 10000);

// A value of an INI file as the profile functions read it, whole.
std::string IniValue(const std::string& path, const std::string& section, const std::string& key);
void SetIniValue(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

// The usage message a launcher file named fileName (without extension) shows.
std::string ExpectedUsage(const std::string& fileName, const std::string& usageTail);
