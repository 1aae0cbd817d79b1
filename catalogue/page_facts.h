// The facts about a page that an item's script reads from the browser, under
// the names the browser side of the bridge uses for them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class Fact {
  TopUrl,           // URL of the top-level document
  TopTitle,         // title of the top-level document
  FrameUrl,         // URL of the document the menu was opened in
  FrameTitle,       // title of that document
  LinkUrl,          // target of the link under the mouse
  LinkText,         // text of that link
  ImageUrl,         // source of the image under the mouse
  ImageAlt,         // alternative text of that image
  SelectionText,    // selected text, as the page gives it (untrimmed)
  SelectionSource,  // HTML source of the selection
  InputText,        // what the user typed into the prompt; empty when cancelled
};

inline constexpr int kFactCount = 11;

// "topUrl", "topTitle", "frameUrl", "frameTitle", "linkUrl", "linkText",
// "imageUrl", "imageAlt", "selectionText", "selectionSource", "inputText".
const char* FactName(Fact fact);
std::optional<Fact> FactFromName(std::string_view name);

// One text per fact; a fact the browser did not give is empty. Text is
// std::string in code page 932 or std::u16string in UTF-16.
template <typename Text>
struct BasicPageFacts {
  std::array<Text, kFactCount> values{};

  Text& operator[](Fact fact) { return values[static_cast<std::size_t>(fact)]; }
  const Text& operator[](Fact fact) const { return values[static_cast<std::size_t>(fact)]; }
};

using PageFacts = BasicPageFacts<std::string>;
using PageFacts16 = BasicPageFacts<std::u16string>;
