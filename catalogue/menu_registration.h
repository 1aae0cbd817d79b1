// An item's entry in the browser's context menu: a key below MenuExt in the
// current user's registry that names the item's script file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr char kMenuExtKey[] = "Software\\Microsoft\\Internet Explorer\\MenuExt\\";

// The "Contexts" value: 0x04 (form controls) for a fixed-string item, else the
// OR of 0x01 normal, 0x02 image, 0x20 link, 0x10 selection.
uint32_t ContextsMask(bool fixedString, const std::array<bool, 4>& contexts);

// The key path of an item, from its trimmed name.
std::string MenuEntryKey(const std::string& itemName);

// Writes the default value (script path), "Contexts" and "Flags" (0), in that
// order, stopping at the first failure.
bool RegisterMenuEntry(const std::string& itemName, bool fixedString, const std::array<bool, 4>& contexts);

// Deletes the key of Items[index]; DeleteScriptFile deletes its script file.
// Neither removes what another listed item, whose name differs only in letter
// case, still uses: keys and file names ignore case on Windows.
bool UnregisterMenuEntry(int index);
bool DeleteScriptFile(int index);

// True when the item's key has a non-empty default value.
bool IsMenuEntryRegistered(const std::string& itemName);

// True when a key of the item's name names another script than the item's
// own, and one that is there (or a resource or address): a live menu entry
// of another program, or of Orbisk installed elsewhere, which registering
// the item would take over.
bool MenuEntryBelongsToAnother(const std::string& itemName);

// True when a and b name the same key and file: equal ignoring letter case
// the way the file system and registry ignore it.
bool SameStorageName(const std::string& a, const std::string& b);
