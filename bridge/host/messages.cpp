#include "bridge/host/messages.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "catalogue/substitution.h"

namespace {

using Json = nlohmann::ordered_json;

// Texts that are not valid UTF-8 are written with U+FFFD instead of failing.
std::string Dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Json ItemJson(const ListedItem& item) {
  Json needs = Json::array();
  for (const Fact fact : item.needs) needs.push_back(FactName(fact));
  return Json{{"name", item.name},
              {"kind", item.fixed ? "fixed" : "launcher"},
              {"contexts",
               {{"page", item.contexts[0]},
                {"image", item.contexts[1]},
                {"link", item.contexts[2]},
                {"selection", item.contexts[3]}}},
              {"needs", needs}};
}

Json ItemsJson(const std::vector<ListedItem>& items) {
  Json list = Json::array();
  for (const ListedItem& item : items) list.push_back(ItemJson(item));
  return list;
}

// FNV-1a, 64 bits: a version only has to change when its input does.
void Mix(std::uint64_t& hash, std::string_view bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
}

}  // namespace

ListedItem ListedItemOf(const ItemRecord& record, std::string nameUtf8) {
  ListedItem item;
  item.name = std::move(nameUtf8);
  item.fixed = record.FixedString == 1;
  if (!item.fixed) {
    for (std::size_t i = 0; i < item.contexts.size(); ++i) item.contexts[i] = record.Contexts[i] == 1;
    item.needs = FactsNeeded(record.Argments);
  }
  return item;
}

std::string ListVersion(std::string_view settingsBytes, const std::vector<ListedItem>& items) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  Mix(hash, settingsBytes);
  Mix(hash, std::string_view("\0", 1));
  Mix(hash, Dump(ItemsJson(items)));
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string ItemsAnswer(const std::vector<ListedItem>& items, const std::string& version) {
  return Dump(Json{{"type", "items"}, {"version", version}, {"items", ItemsJson(items)}});
}

std::string StartedAnswer() { return Dump(Json{{"type", "started"}}); }

std::string ConfirmedAnswer() { return Dump(Json{{"type", "confirmed"}}); }

std::string TextAnswer(const std::string& utf8) { return Dump(Json{{"type", "text"}, {"text", utf8}}); }

std::string ErrorAnswer(const std::string& utf8) { return Dump(Json{{"type", "error"}, {"message", utf8}}); }
