// Programs built beside the tests are named to them by CMake, as paths of
// the build machine ($<TARGET_FILE:...> in a compile definition); under Wine
// the machine's root is drive Z:.
#pragma once

#include <string>

inline std::string BuildOutputPath(std::string unixPath) {
  for (char& c : unixPath) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unixPath;
}
