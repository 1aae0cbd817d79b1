// Prints what the substitution engine makes of an item for given page facts,
// so that the browser tests compare the command line a pick started with the
// engine's own result rather than with a copy of its rules.
//   stdin:  {"kind": "launcher" | "fixed", "template": "…",
//            "facts": {"topUrl": "…", …},
//            "times": [[year, month, day, weekday, hour, minute, second], …]}
//   stdout: {"results": ["…", …]}, one result per time, all in UTF-8.
// The tests give every second a pick may have read the clock in.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "catalogue/page_facts.h"
#include "catalogue/substitution.h"

namespace {

std::u16string FromUtf8(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = text[i];
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) code = (code << 6) | (text[i + k] & 0x3F);
    i += extra + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace

int main() {
  const nlohmann::json request =
      nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
  PageFacts16 facts;
  const nlohmann::json given = request.value("facts", nlohmann::json::object());
  for (const auto& [name, value] : given.items()) {
    if (const auto fact = FactFromName(name)) facts[*fact] = FromUtf8(value.get<std::string>());
  }
  const std::u16string text = FromUtf8(request.at("template").get<std::string>());
  const bool fixed = request.value("kind", "launcher") == "fixed";
  nlohmann::json results = nlohmann::json::array();
  for (const auto& time : request.at("times")) {
    const LocalTime now{time.at(0), time.at(1), time.at(2), time.at(3), time.at(4), time.at(5), time.at(6)};
    const Clock clock = [now] { return now; };
    results.push_back(ToUtf8(fixed ? SubstituteFixedString(text, clock) : SubstituteArguments(text, facts, clock)));
  }
  std::cout << nlohmann::json{{"results", results}}.dump() << '\n';
  return 0;
}
