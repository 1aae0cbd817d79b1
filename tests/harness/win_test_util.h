// Small helpers for the Windows tests: files, processes, messages. The text
// conversions come with it: Utf8 (tests/harness/utf8_text.h), ToWide and
// ToAnsi (common/wide_text.h).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "common/wide_text.h"
#include "tests/harness/utf8_text.h"

// Whole file as bytes; "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Every file below folder (which ends in a backslash), by its path relative
// to it, with its bytes.
using FolderSnapshot = std::map<std::string, std::string>;
FolderSnapshot FilesBelow(const std::string& folder);

// Deletes a folder and everything below it; true when it is gone.
bool DeleteTree(const std::string& folder);

// The command line split into its arguments by CommandLineToArgvW, the
// program's own name first.
std::vector<std::wstring> SplitAsWindowsDoes(const std::wstring& commandLine);

// Starts a command line as a ChildProcess and waits up to timeoutMs for it
// and everything it started to end; returns the exit code, or -1 when it
// could not start or was ended after the timeout.
int RunProcess(const std::string& commandLine, DWORD timeoutMs = 30000,
               const std::string& workingDir = std::string());

// Handles this thread's messages as they come for ms milliseconds.
void PumpMessages(DWORD ms);

// Handles every message this thread's queue holds, and whatever those bring
// about in turn, until none is left: once it returns, all that was queued
// before has been handled. A timer that is not yet due is not waited for.
// With the windows under test on this thread, this bounds a check that
// nothing happened by the messages themselves, not by time.
void FlushMessages();
