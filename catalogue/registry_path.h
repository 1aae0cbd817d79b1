// Key paths as the registry operations take them apart.
#pragma once

#include <string>
#include <string_view>

// A key path split at its last backslash: the key that holds the named key,
// and the named key's own name below it. The ANSI registry functions convert
// the name they are given into a buffer of a little over 255 characters, so
// a long item name below a long path such as MenuExt's can only be reached
// from its parent key, opened first.
struct KeyPathParts {
  std::string parent;  // "" when the path has no backslash: the hive itself
  std::string name;    // "" when the path ends in a backslash
};

// A backslash that is the trail byte of a double-byte character (表 is
// 95 5C) does not split.
KeyPathParts SplitKeyPath(std::string_view keyPath);
