// Jotwell's file and program steps.
#pragma once

#include <string>

#include "common/path_kind.h"

// What the path names on a local disk: Missing also for a path that reaches
// another machine or a device, even when something is there.
PathKind LocalPathKind(const std::string& path);

// The full path of an existing file with every short 8.3 name written out
// long; "" when the file does not exist or the path cannot be resolved.
std::string LocalLongPath(const std::string& path);

// Appends text and CR LF to the file (created when missing); the path loses
// one pair of enclosing quotes first. Refuses, writing nothing, a file that
// Windows would run or open as code (IsSafeTextFilePath). Waits a moment for
// a file that another run holds. True when the whole line was written.
bool AppendTextLine(const std::string& filePath, const std::string& text);

// Starts the editor with the text file as its one argument, each quoted
// unless it already was.
bool RunEditor(const std::string& editorPath, const std::string& filePath);

// Opens the file with the program its type is associated with.
bool OpenWithAssociation(const std::string& filePath);
