// Internet shortcut files (".url").
#pragma once

#include <string>
#include <string_view>

// The file's content: "[InternetShortcut]" and "URL=" with the URL, each line
// ending in CR LF. Tabs and line breaks are dropped from the URL, as browsers
// drop them, so that it cannot add lines of its own to the file.
std::string UrlShortcutContent(std::string_view url);
