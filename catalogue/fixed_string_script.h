// The HTML file with a VBScript for a fixed-string item: picked over a text
// field, it types the item's fixed text, with date and time filled in, over
// the field's selection.
#pragma once

#include <string>

// The whole file: CR LF after every line, code page 932, no byte-order mark.
// Only the date and time tokens and "<\N>", "<\T>" are substituted; any other
// text reaches the field as typed.
std::string FixedStringScriptText(const std::string& fixedString);

// Writes FixedStringScriptText to the item's ScriptFilePath. The old file is
// replaced only once the new one is complete: on any failure it stays as it
// was and false is returned.
bool WriteFixedStringScript(const std::string& itemName, const std::string& fixedString);
