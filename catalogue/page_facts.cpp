#include "catalogue/page_facts.h"

namespace {

constexpr std::array<const char*, kFactCount> kFactNames = {
    "topUrl",   "topTitle", "frameUrl",      "frameTitle",      "linkUrl",   "linkText",
    "imageUrl", "imageAlt", "selectionText", "selectionSource", "inputText",
};

}  // namespace

const char* FactName(Fact fact) { return kFactNames[static_cast<std::size_t>(fact)]; }

std::optional<Fact> FactFromName(std::string_view name) {
  for (int i = 0; i < kFactCount; ++i) {
    if (name == kFactNames[i]) return static_cast<Fact>(i);
  }
  return std::nullopt;
}
