// The text an item's script builds when the browser runs it: the argument
// template of a launcher item with the page facts, date, time and the other
// placeholders put in, or a fixed-string item's text with its date and time
// filled in. The result is exactly what the generated script computes, so the
// browser bridge can do without the script and still give the same text.
//
// Substitution follows the script's Replace lines: token by token in their
// order, each replacing every occurrence in the text the earlier lines left.
// Which lines exist is decided by the template as written, not by the text
// so far: a page value that holds a token is changed only when the template
// holds that token too and its line comes later.
//
// What each token reads and how (trimmed, widened) is the placeholder
// table's. Date and time come from the clock, read once for every date or
// time token of the template, in the order of the lines.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/page_facts.h"

// The broken-down local time, as the script's Year(Now) … Second(Now) and
// Weekday(Now) give it.
struct LocalTime {
  int year = 2000;
  int month = 1;    // 1 to 12
  int day = 1;      // 1 to 31
  int weekday = 0;  // 0 Sunday to 6 Saturday
  int hour = 0;     // 0 to 23
  int minute = 0;
  int second = 0;
};

// Read anew for every date and time substitution. Must be callable.
using Clock = std::function<LocalTime()>;

// The fact a token's substitution reads, nullopt for the tokens that read
// none and for any text that is no token.
std::optional<Fact> FactOfToken(std::string_view token);

// The facts a launcher item's argument template needs, each once, in the
// order of Fact. A fixed-string item needs none.
std::vector<Fact> FactsNeeded(std::string_view argumentTemplate);

// The 31 tokens in the order of the launcher script's substitution lines;
// the fixed-string script keeps this order for its 16.
std::vector<std::string_view> SubstitutionOrder();

// A launcher item's arguments: the template (code page 932) with its
// placeholders substituted.
std::string SubstituteArguments(std::string_view argumentTemplate, const PageFacts& facts,
                                const Clock& clock);

// The same on UTF-16 text, for callers that hold page facts beyond code page
// 932: the result is the one above converted, wherever the facts fit the code
// page.
std::u16string SubstituteArguments(std::u16string_view argumentTemplate, const PageFacts16& facts,
                                   const Clock& clock);

// The same substitution with the page's values kept apart as data: the
// template is scanned once, left to right, and each token is replaced by its
// value, which is never looked at again. A token inside a page value stays
// literal text, and no value can join the template text around it into a new
// token. Date and time are read as above, once per token in the order of the
// substitution lines. The host uses this; the script's own Replace chain
// above stays the proof of what the generated scripts compute.
struct ArgumentPieces {
  // A run of the template's own text, or the value of one token.
  struct Piece {
    std::size_t begin = 0, length = 0;  // the run in templateText, when value < 0
    int value = -1;                     // index into values
  };
  std::u16string templateText;
  std::vector<std::u16string> values;  // one per token that occurs, in substitution order
  std::vector<bool> fromPage;          // per value: a page fact (untrusted), or date, time, tab, line break
  std::vector<Piece> pieces;

  std::u16string_view Text(const Piece& piece) const;
  bool FromPage(const Piece& piece) const { return piece.value >= 0 && fromPage[piece.value]; }
  // The length of the text all pieces make together, without building it.
  std::size_t TotalLength() const;
  // All pieces joined: what SubstituteArguments gives where no page value
  // holds a token.
  std::u16string Joined() const;
};
ArgumentPieces SubstituteArgumentsAsData(std::u16string_view argumentTemplate, const PageFacts16& facts,
                                         const Clock& clock);

// A fixed-string item's text: only the date and time tokens, "<\N>" and
// "<\T>" are substituted; every other token stays as typed.
std::string SubstituteFixedString(std::string_view fixedString, const Clock& clock);
std::u16string SubstituteFixedString(std::u16string_view fixedString, const Clock& clock);
