// Catalogue items as the tests and benchmarks make them: one place that
// knows which fields make a launcher item and which a fixed-string item, so
// that a test names only the values it is about.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/item_record.h"

// Contexts in ItemRecord order: normal, image, link, selection.
using ItemContexts = std::array<int16_t, 4>;
inline constexpr ItemContexts kEveryContext = {1, 1, 1, 1};

// An item with a name and nothing else, for tests of names and order.
ItemRecord NamedItem(const std::string& name);

// A launcher item: the application, its argument template, the contexts it
// is offered in and its window style (0 hidden, 1 normal, 2 minimised, 3
// maximised); no comment, and the script starts the application rather than
// showing the command line.
ItemRecord LauncherRecord(const std::string& name, const std::string& path, const std::string& argments,
                          const ItemContexts& contexts = kEveryContext, int16_t windowStyle = 1);

// A fixed-string item with its text; no contexts, window style 0.
ItemRecord FixedStringRecord(const std::string& name, const std::string& text);
