// The settings file: read once at start-up, rewritten after every change.
#pragma once

#include <string>
#include <string_view>

// Replaces Items with the registered, acceptable items of the settings file,
// sorted by name. A missing file or section gives an empty list. False when
// the file is there but could not be read (held open by another program, say):
// Items is then empty too, and is not the catalogue, so nothing may be
// written or exported from it.
bool LoadItems();

// LoadItems from the given settings file. The browser bridge, a program of
// another name beside Orbisk, reads Orbisk's file with it.
bool LoadItemsFrom(const std::string& settingsPath);

// Rewrites the ItemList section from Items. The new file is built beside the
// old one and replaces it in one step; other sections are kept. False when
// anything failed, in which case the old file is untouched.
bool SaveItems();

// The text of a settings file's bytes in code page 932, however an editor
// saved it (SettingsTextFromBytes), a character code page 932 lacks as "?".
std::string SettingsTextOf(std::string_view bytes);

// UTF-16 in code page 932 without look-alikes; clears *exact when a
// character has no form there.
std::string Utf16ToCodePage932(std::u16string_view text, bool* exact);
