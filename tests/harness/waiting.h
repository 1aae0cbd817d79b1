// Waiting in the tests for something to have happened. Where Windows has a
// handle that is signalled when it happens, the tests wait on that handle: a
// process's end (ChildProcess, WaitForSingleObject), a folder's changes
// (WaitUntilInFolder), a message for this thread (PumpMessages). WaitUntil
// and WaitUntilPumping are for what nothing signals, and each caller says
// why there is nothing to wait on: another process's window appearing (it
// announces itself to its own thread alone), the clipboard falling free (the
// owner's CloseClipboard signals nobody), a control of another process
// having painted. They look again at short intervals and give up after the
// time given, so that a test fails rather than hangs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Checks done() at short intervals until it holds; false when timeoutMs
// passed first.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The same, handling this thread's messages meanwhile: for a thread whose
// windows must keep answering while it waits (another program may send them
// messages and wait for the answer).
bool WaitUntilPumping(const std::function<bool()>& done, DWORD timeoutMs);

// Waits until done() holds, checking it at the start and again whenever a
// file below folder is created, renamed, deleted, written or grows; false
// when timeoutMs passed first. done() is looked at every so often as well:
// under Wine a watch can miss a change (one set up before a folder existed
// misses the first file in it), and a missed change must not fail a test.
bool WaitUntilInFolder(const std::string& folder, const std::function<bool()>& done, DWORD timeoutMs);
