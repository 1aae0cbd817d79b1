// Where the running program lives.
#pragma once

#include <string>

// Full path of the running program file (GetModuleFileNameA, grown until the
// whole path fits).
std::string GetProgramPath();

// Folder of the running program, always ending in a backslash.
std::string GetProgramFolder();

// File name of the running program without its extension ("Orbisk").
std::string GetProgramFileName();

// The same two, computed from a given program path (OS-free).
std::string ProgramFolderOf(const std::string& programPath);
std::string ProgramFileNameOf(const std::string& programPath);
