// What a path names on disk. Orbisk and every launcher use the same values.
#pragma once

#include <string>

enum class PathKind { Missing = 0, File = 1, Folder = 2 };

// Reads the path's attributes: any failure is Missing, the directory attribute
// is Folder, anything else is File. Never fails.
PathKind GetPathKind(const std::string& path);
