// Prints what the host's engine makes of an item for given page facts, so
// that the browser tests compare the command line a pick started with the
// engine's own result rather than with a copy of its rules: for a launcher
// item the arguments after the program's quoted path and blank, as the host
// builds them for a program (null when the host refuses them), for a
// fixed-string item its text.
//   stdin:  {"kind": "launcher" | "fixed", "template": "…",
//            "facts": {"topUrl": "…", …},
//            "times": [[year, month, day, weekday, hour, minute, second], …]}
//   stdout: {"results": ["…", …]}, one result per time, all in UTF-8.
// The tests give every second a pick may have read the clock in.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "bridge/host/command_line.h"
#include "catalogue/page_facts.h"
#include "catalogue/substitution.h"
#include "common/utf.h"

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
    if (fixed) {
      results.push_back(Utf16ToUtf8(SubstituteFixedString(text, clock)));
      continue;
    }
    // An empty program path: the line starts with two quotes and a blank.
    const CommandLine line =
        BuildCommandLine(u"", ProgramKind::Program, SubstituteArgumentsAsData(text, facts, clock));
    if (line.refusal != LineRefusal::None) {
      results.push_back(nullptr);
    } else {
      results.push_back(Utf16ToUtf8(std::u16string_view(line.text).substr(3)));
    }
  }
  std::cout << nlohmann::json{{"results", results}}.dump() << '\n';
  return 0;
}
