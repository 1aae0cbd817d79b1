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

#include "bridge/host/utf.h"
#include "catalogue/page_facts.h"
#include "catalogue/substitution.h"

int main() {
  const nlohmann::json request = nlohmann::json::parse(
      std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
  PageFacts16 facts;
  const nlohmann::json given = request.value("facts", nlohmann::json::object());
  for (const auto& [name, value] : given.items()) {
    if (const auto fact = FactFromName(name)) facts[*fact] = Utf8ToUtf16(value.get<std::string>());
  }
  const std::u16string text = Utf8ToUtf16(request.at("template").get<std::string>());
  const bool fixed = request.value("kind", "launcher") == "fixed";
  nlohmann::json results = nlohmann::json::array();
  for (const auto& time : request.at("times")) {
    const LocalTime now{time.at(0), time.at(1), time.at(2), time.at(3), time.at(4), time.at(5), time.at(6)};
    const Clock clock = [now] { return now; };
    results.push_back(
        Utf16ToUtf8(fixed ? SubstituteFixedString(text, clock) : SubstituteArguments(text, facts, clock)));
  }
  std::cout << nlohmann::json{{"results", results}}.dump() << '\n';
  return 0;
}
