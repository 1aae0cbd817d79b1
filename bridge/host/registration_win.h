// "OrbiskHost.exe /register" and "/unregister": the host manifests beside
// the program and the browsers' registry keys naming them, in the current
// user's registry. Both are idempotent and touch nothing else.
#pragma once

#include <string>

// hostPath: the program's full path.
bool RegisterHost(const std::wstring& hostPath);
bool UnregisterHost(const std::wstring& hostPath);
