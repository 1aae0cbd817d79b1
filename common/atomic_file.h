// Replacing a file in one step, so that a failed write never leaves a file
// half-written in place of a good one.
#pragma once

#include <string>

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* bytes);

// Creates a new, empty temporary file in the same folder as path, so that
// the final move stays on one volume and can be done in one step, and returns
// its path; "" when none could be created. Its name is never longer than
// path's own file name (TemporaryNameFor), so any path that fits the limit
// with its final name can be written this way.
std::string CreateTemporarySibling(const std::string& path);

// Writes bytes to a temporary file beside path and moves it over path only
// when every byte was written and flushed. On failure path is left as it was
// and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Moves a finished temporary file over target (replacing it). A target that
// another program holds open is waited for, up to two seconds. On failure
// the temporary file is removed and target is untouched.
bool ReplaceFileWith(const std::string& temporary, const std::string& target);
