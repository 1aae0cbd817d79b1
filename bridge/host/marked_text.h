// Text with the origin of each character: the template's (or the host's
// own) or the page's. Every check of a command line asks where a character
// came from, never what it looks like.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MarkedText {
  std::u16string text;
  std::vector<bool> page;

  void Append(std::u16string_view more, bool fromPage) {
    text.append(more);
    page.insert(page.end(), more.size(), fromPage);
  }
  void Append(char16_t c, bool fromPage) { Append(std::u16string_view(&c, 1), fromPage); }
  void Append(const MarkedText& more) {
    text.append(more.text);
    page.insert(page.end(), more.page.begin(), more.page.end());
  }
  bool AnyPage(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to && i < page.size(); ++i) {
      if (page[i]) return true;
    }
    return false;
  }
  bool AnyPage() const { return AnyPage(0, page.size()); }
};
