// The placeholder tokens of argument templates and fixed strings, one row
// each in one table: the parameter menu's caption and group, the page fact
// the token reads and how, where its substitution line stands in the item
// scripts and what that line puts in. The parameter menu, both script
// generators, the substitution engine and the browser host all read this
// table; a token is added or changed here alone.
#pragma once

#include <array>
#include <string_view>

#include "catalogue/page_facts.h"

// The parameter menu's submenus, in menu order.
enum class TokenGroup { Url = 0, Title, Anchor, Image, Select, DateTime, Other };

struct PlaceholderGroup {
  TokenGroup id;
  const char* caption;  // "&" marks the access key
};

// What a token stands for when the item's script runs.
enum class TokenValue {
  Fact,         // the page fact as it is
  WideFact,     // the page fact with the forbidden file-name characters widened
  TrimmedFact,  // the page fact without leading and trailing blanks (VBScript Trim)
  Year4,
  Year2,
  Month2,
  Month1,
  Day2,
  Day1,
  WeekdayEnglish,
  WeekdayJapanese,
  Hour2,
  Hour1,
  Minute2,
  Minute1,
  Second2,
  Second1,
  LineBreak,
  Tab,
};

// True for the values that read a page fact.
constexpr bool ReadsFact(TokenValue value) {
  return value == TokenValue::Fact || value == TokenValue::WideFact || value == TokenValue::TrimmedFact;
}

struct Placeholder {
  const char* token;    // matched exactly and case-sensitively
  TokenGroup group;     // its parameter submenu
  const char* caption;  // the menu entry; "&" marks the access key
  bool fixedString;     // also substituted by a fixed-string item's script
  TokenValue value;
  Fact fact;  // the page fact read, for the values that read one
  int order;  // place of its substitution line among the 31, from 0
  const char* array =
      nullptr;  // for a weekday: the script's array of day names, declared right before its line
  // What the script's substitution line puts in place of the token. For a
  // page fact it is made of the fact's script variable (ScriptVariable).
  const char* expression = nullptr;
};

inline constexpr int kPlaceholderGroupCount = 7;
inline constexpr int kPlaceholderCount = 31;
inline constexpr int kFixedStringTokenCount = 16;

// The seven groups in menu order.
extern const std::array<PlaceholderGroup, kPlaceholderGroupCount> kPlaceholderGroups;

// Every token, grouped, in the order of the menu; within a group the position
// is the entry's index in its submenu.
extern const std::array<Placeholder, kPlaceholderCount> kPlaceholders;

// Every token in the order of the scripts' substitution lines, the order in
// which each replaces its occurrences in what the lines before it left.
extern const std::array<const Placeholder*, kPlaceholderCount> kSubstitutionOrder;

// The tokens of one group in menu order, as pointers into kPlaceholders.
struct PlaceholderRange {
  const Placeholder* first;
  const Placeholder* last;  // one past the end
  const Placeholder* begin() const { return first; }
  const Placeholder* end() const { return last; }
  int size() const { return static_cast<int>(last - first); }
};
PlaceholderRange PlaceholdersOf(TokenGroup group);

// True when a fixed-string item can use the group: it holds a token that the
// fixed-string script substitutes (the date and time group and the other
// group). The parameter menu disables the rest in fixed-string mode.
bool GroupOfferedForFixedString(TokenGroup group);

// The placeholder with exactly this token, or nullptr.
const Placeholder* FindPlaceholder(std::string_view token);

// True when text holds token as a whole-character substring (exact case).
bool ContainsToken(std::string_view text, std::string_view token);

// The launcher script's variable that holds a page fact ("strTopTitle").
struct FactVariable {
  Fact fact;
  const char* variable;
};

// Every fact's variable, in the order in which the script declares them.
extern const std::array<FactVariable, kFactCount> kFactVariables;
const char* ScriptVariable(Fact fact);

// The day names of a weekday token in code page 932 and in UTF-16, Sunday
// first, as its script array is split from them.
extern const std::array<const char*, 7> kWeekdayNamesEnglish;
extern const std::array<const char*, 7> kWeekdayNamesJapanese;
extern const std::array<const char16_t*, 7> kWeekdayNamesJapanese16;
