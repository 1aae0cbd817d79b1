// The host's answers, as UTF-8 JSON message bodies.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/page_facts.h"

// One item of the list as the extension sees it.
struct ListedItem {
  std::string name;  // UTF-8
  bool fixed = false;
  std::array<bool, 4> contexts{};  // page, image, link, selection
  std::vector<Fact> needs;         // what a pick of it must bring
};

// An item of Orbisk's list, its name already in UTF-8. A fixed-string item
// is offered over text fields only, so its four situations stay false, and
// it needs no facts.
ListedItem ListedItemOf(const ItemRecord& record, std::string nameUtf8);

// A version of the list: changes with the settings file's bytes and with the
// listed items (an item whose menu entry went away changes the list without
// touching the file).
std::string ListVersion(std::string_view settingsBytes, const std::vector<ListedItem>& items);

// {"type":"items","version":V,"items":[{"name","kind","contexts","needs"}…]}
std::string ItemsAnswer(const std::vector<ListedItem>& items, const std::string& version);

std::string StartedAnswer();                       // {"type":"started"}
std::string ConfirmedAnswer();                     // {"type":"confirmed"}
std::string TextAnswer(const std::string& utf8);   // {"type":"text","text":…}
std::string ErrorAnswer(const std::string& utf8);  // {"type":"error","message":…}
