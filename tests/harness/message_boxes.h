// A guard against modal message boxes. While a test runs, a watcher thread
// looks for message boxes of any process on the desktop. A box the test
// announced with ExpectMessageBox is answered with the given button; any other
// box is dismissed and fails the test with its text, so no test can hang on
// one. Every box seen is recorded for the test to examine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class BoxIcon { None, Stop, Question, Warning, Information };

struct SeenMessageBox {
  std::string title;  // code page 932
  std::string text;   // code page 932
  DWORD processId = 0;
  RECT rect = {};     // where it stood on the screen
  BoxIcon icon = BoxIcon::None;
  std::vector<int> buttons;  // IDOK, IDCANCEL, IDYES, IDNO … present
  int defaultButton = 0;     // the button with the default style
  int pressed = 0;           // what the watcher pressed
  bool expected = false;
};

// Answers the next message box with button (IDOK, IDYES, IDNO, …). Several
// calls queue answers in order. An answer no box consumed fails the test.
void ExpectMessageBox(int button);

// Boxes seen so far in the current test, oldest first.
std::vector<SeenMessageBox> SeenMessageBoxes();

// Waits until at least count boxes were seen in this test, pumping this
// thread's messages meanwhile; false after timeoutMs.
bool WaitForMessageBoxes(size_t count, DWORD timeoutMs = 15000);

// Started and stopped around every test by the harness's main.
void StartMessageBoxWatcher();
void StopMessageBoxWatcher();  // reports unexpected boxes and unused answers
