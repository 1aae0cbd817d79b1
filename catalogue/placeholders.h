// The placeholder tokens of argument templates and fixed strings: what each
// one is called in the edit dialog's parameter menu and which group it sits
// in. The script generators and the parameter menu both read this one table.
#pragma once

#include <array>
#include <string_view>

// The parameter menu's submenus, in menu order.
enum class TokenGroup { Url = 0, Title, Anchor, Image, Select, DateTime, Other };

struct PlaceholderGroup {
  TokenGroup id;
  const char* caption;  // "&" marks the access key
};

struct Placeholder {
  TokenGroup group;
  const char* caption;  // the menu entry; "&" marks the access key
  const char* token;    // matched exactly and case-sensitively
  bool fixedString;     // also substituted by a fixed-string item's script
};

inline constexpr int kPlaceholderGroupCount = 7;
inline constexpr int kPlaceholderCount = 31;
inline constexpr int kFixedStringTokenCount = 16;

// The seven groups in menu order.
extern const std::array<PlaceholderGroup, kPlaceholderGroupCount> kPlaceholderGroups;

// Every token, grouped, in the order of the menu; within a group the position
// is the entry's index in its submenu.
extern const std::array<Placeholder, kPlaceholderCount> kPlaceholders;

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
