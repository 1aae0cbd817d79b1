// The three registry operations everything in Orbisk goes through. Each opens
// its key, from the key that holds it (SplitKeyPath), does one thing and
// closes the keys again; nothing is held open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class RegHive { CurrentUser, LocalMachine };

// Value types, numbered as the registry numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegDword = 4;

struct RegistryValue {
  std::string text;     // REG_SZ, in the ANSI code page
  uint32_t number = 0;  // REG_DWORD
};

// Creates or opens the key and sets one value of type kRegSz or kRegDword.
// True only when the key was opened and the value set; any other type sets
// nothing and gives false.
bool WriteRegistryValue(RegHive hive, const std::string& keyPath, const std::string& valueName, uint32_t type,
                        const RegistryValue& value);

// Reads one value; the default when the key cannot be opened, the value cannot
// be read (a string longer than 255 bytes included) or the type is neither.
RegistryValue ReadRegistryValue(RegHive hive, const std::string& keyPath, const std::string& valueName,
                                uint32_t type, const RegistryValue& defaultValue);

// Deletes a key that has no subkeys; true when it was deleted. A path that
// ends in a backslash names no key of its own and deletes nothing.
bool DeleteRegistryKey(RegHive hive, const std::string& keyPath);

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
