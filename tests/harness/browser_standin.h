// Runs an item's menu script the way the browser would, without a browser.
// The script file is found through the item's MenuExt key, the code between
// its SCRIPT tags is taken out unchanged (up to the first closing tag, in any
// letter case, as the browser ends the element there) and run by the Windows
// Script Host. What the browser supplies around the code is stood in for:
// `external.menuArguments` (the window the menu was opened in, with its
// document, the top window's document, the event, the selection, the element
// lookups) and `window.prompt`, built from a page described by the test. The
// stand-in is appended after the code, which must stay first for its
// Option Explicit; VBScript makes the functions and classes known throughout.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// One element of the page. Texts are code page 932.
struct PageElement {
  std::string tagName;  // as the browser reports it: upper case, "A", "IMG" …
  std::string href, innerText, src, alt, type, useMap, name;
  int parent = -1;  // index into PageFixture::elements; -1: the BODY element
};

struct PageFixture {
  std::string topUrl = "http://www.example.jp/index.html";
  std::string topTitle = "Example top";
  // A menu opened in a frame: the frame's document differs from the top's.
  bool framed = false;
  std::string frameUrl, frameTitle;

  std::vector<PageElement> elements;
  int sourceElement = -1;   // event.srcElement; -1: BODY
  int pointElement = -1;    // what elementFromPoint(event.x, event.y) finds; -1: BODY
  std::vector<int> images;  // the frame document's images collection
  int x = 120, y = 48;      // event.x, event.y

  std::string selectionText, selectionHtml;  // selection.createRange()
  std::optional<std::string> promptAnswer;   // what the user types; none: cancelled
};

// What the script did with the stand-in, read back after it ended.
struct ScriptRun {
  bool ran = false;        // cscript, and whatever the script started, ended in time
  bool completed = false;  // the code ran to its end (the marker after it was written)
  int promptCalls = 0;
  std::string promptMessage, promptDefault;
  int rangeTextAssignments = 0;  // assignments to createRange().text
  std::string rangeText;         // the range's text afterwards
  std::string error;             // why the run could not be made, if it could not
};

// Runs the script registered for itemName against page and returns once
// cscript and every program the script started have ended (a recorder among
// them has then written its record). workFolder (ending in a backslash) holds
// the composed script and the results; cscript starts in workFolder, so a
// working directory change by the script can be seen.
ScriptRun RunMenuScript(const std::string& itemName, const PageFixture& page, const std::string& workFolder);

// The pieces RunMenuScript composes, for tests that run several items' code
// in one script run. StandInClasses holds the stand-in's classes and the
// global functions `external` and `window`, which build the page with the
// Sub "StandInBuildPage" on first use unless a page was built before;
// StandInPageSub gives a Sub of the given name that builds page.
std::string StandInClasses();
std::string StandInPageSub(const PageFixture& page, const std::string& subName);

// A VBScript expression with the value text (code page 932): a literal with
// doubled quotes, control characters joined in with Chr().
std::string VbText(const std::string& text);

// The script path the item's MenuExt key names, "" when there is none.
std::string RegisteredScriptPath(const std::string& itemName);

// The code the browser would run from an HTML script file: between the end of
// the first opening SCRIPT tag and the first closing tag, unchanged.
std::string ExtractScriptCode(const std::string& html);
