// Marked text as the tests write it: the page's characters between « and »,
// the rest the template's (or the host's).
#pragma once

#include <string_view>

#include "bridge/host/marked_text.h"

inline MarkedText Marked(std::u16string_view written) {
  MarkedText text;
  bool page = false;
  for (const char16_t c : written) {
    if (c == u'«' || c == u'»') {
      page = c == u'«';
    } else {
      text.Append(c, page);
    }
  }
  return text;
}
