// A message from the extension, read into a request. Everything in it is
// untrusted: a pick names an item and brings page facts, which only ever
// fill that item's template.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/page_facts.h"

enum class RequestType {
  List,  // {"type":"list"}
  Pick,  // {"type":"pick","name":N,"facts":{…}}
};

struct Request {
  RequestType type = RequestType::List;
  std::string name;                               // UTF-8; a pick's item
  std::array<std::string, kFactCount> factsUtf8;  // a pick's facts; missing ones empty
};

struct ParsedRequest {
  std::optional<Request> request;
  std::string error;  // UTF-8, when there is no request
};

// Reads one message body. Refused: anything that is not a JSON object, an
// unknown or missing type, a pick without a non-empty string name, facts
// that are not an object of strings, a fact holding NUL, nesting deeper than
// any request has. Unknown members and unknown fact names are ignored.
ParsedRequest ParseRequest(std::string_view body);
