#include "bridge/host/request.h"

#include <nlohmann/json.hpp>

#include "bridge/host/host_texts.h"

namespace {

// No request nests deeper than this; deeper text is refused before the JSON
// parser, so that no message can make it work through endless nesting.
constexpr int kMaxNesting = 8;

bool NestsTooDeep(std::string_view body) {
  int depth = 0;
  bool inString = false, escaped = false;
  for (const char c : body) {
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

ParsedRequest Refuse(std::string message) {
  ParsedRequest parsed;
  parsed.error = std::move(message);
  return parsed;
}

}  // namespace

ParsedRequest ParseRequest(std::string_view body) {
  using nlohmann::json;
  if (NestsTooDeep(body)) return Refuse(host_texts::Malformed());
  // No exceptions: a parse error gives a discarded value.
  const json message = json::parse(body.begin(), body.end(), nullptr, false);
  if (message.is_discarded() || !message.is_object()) return Refuse(host_texts::Malformed());
  const auto type = message.find("type");
  if (type == message.end() || !type->is_string()) return Refuse(host_texts::UnknownRequest());

  Request request;
  const std::string& typeName = type->get_ref<const std::string&>();
  if (typeName == "list") {
    request.type = RequestType::List;
    return {request, {}};
  }
  if (typeName != "pick") return Refuse(host_texts::UnknownRequest());

  request.type = RequestType::Pick;
  const auto name = message.find("name");
  if (name == message.end() || !name->is_string() || name->get_ref<const std::string&>().empty()) {
    return Refuse(host_texts::NoItemName());
  }
  request.name = name->get_ref<const std::string&>();
  const auto facts = message.find("facts");
  if (facts != message.end() && !facts->is_null()) {
    if (!facts->is_object()) return Refuse(host_texts::BadFacts());
    for (const auto& [key, value] : facts->items()) {
      const std::optional<Fact> fact = FactFromName(key);
      if (!fact) continue;
      if (!value.is_string()) return Refuse(host_texts::BadFacts());
      const std::string& text = value.get_ref<const std::string&>();
      // A NUL would end the command line early, where the script never sees one.
      if (text.find('\0') != std::string::npos) return Refuse(host_texts::BadFacts());
      request.factsUtf8[static_cast<std::size_t>(*fact)] = text;
    }
  }
  return {request, {}};
}
