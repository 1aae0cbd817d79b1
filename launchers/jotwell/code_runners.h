// Programs that do something with the file they are given other than show it
// for editing: they run it, or install, register or load it. Jotwell hands
// its editor nothing but the text file, and the text file holds what a web
// page chose, so none of these may be its editor.
#pragma once

#include <string_view>

// True when the program file of this name (the last component of its path,
// as Windows resolves it) runs or loads a file it is given as code. Letter
// case does not count, and interpreters are also known under the versioned
// names their installers give them (python3.12.exe, tclsh86t.exe).
bool RunsFileAsCode(std::string_view programFileName);
