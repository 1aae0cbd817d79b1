// Where a path given to a launcher leads, read the way the Win32 path
// functions read it. A path that came from a web page must not make the
// machine connect to another one (Windows may then send the user's
// credentials there) or open a device.
#pragma once

#include <string_view>

// Where a path leads: a local file system, another machine (\\host\share,
// //host/share, \\?\UNC\host\share) or the device namespace (\\.\pipe\x,
// \\?\GLOBALROOT\..., anything behind \\.\ or \\?\ but a drive or UNC).
enum class PathRoot { Local, Network, Device };
PathRoot RootOf(std::string_view path);

// True when the path begins with a drive letter and a colon ("C:\x", "C:x",
// "C:"): whatever follows is then read as folders and a file on that drive.
bool StartsWithDrive(std::string_view path);
