#include "catalogue/substitution.h"

#include <array>

#include "catalogue/placeholders.h"
#include "common/file_names.h"
#include "common/text_util.h"

namespace {

// What differs between code page 932 text and UTF-16 text.
template <typename Char>
struct Chars;

template <>
struct Chars<char> {
  // Whole characters only: a double-byte character's trail byte may equal
  // an ASCII byte, but VBScript works on characters and never matches there.
  static std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
    return FindSjis(text, needle, from);
  }
  static const char* JapaneseWeekday(int weekday) { return kWeekdayNamesJapanese[weekday]; }
};

template <>
struct Chars<char16_t> {
  static std::size_t Find(std::u16string_view text, std::u16string_view needle, std::size_t from) {
    return text.find(needle, from);
  }
  static const char16_t* JapaneseWeekday(int weekday) { return kWeekdayNamesJapanese16[weekday]; }
};

template <typename Char>
using Text = std::basic_string<Char>;
template <typename Char>
using View = std::basic_string_view<Char>;

// ASCII text (the tokens, digits, English weekdays) in either character type.
template <typename Char>
Text<Char> Ascii(std::string_view ascii) {
  return Text<Char>(ascii.begin(), ascii.end());
}

template <typename Char>
bool Contains(View<Char> text, View<Char> needle) {
  return Chars<Char>::Find(text, needle, 0) != View<Char>::npos;
}

// VBScript's Replace: every occurrence, left to right, without looking again
// at what was put in.
template <typename Char>
Text<Char> Replace(View<Char> text, View<Char> from, View<Char> to) {
  Text<Char> out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = Chars<Char>::Find(text, from, pos);
    if (hit == View<Char>::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

// VBScript's Trim: blanks only, not tabs, line breaks or full-width blanks.
template <typename Char>
View<Char> TrimBlanks(View<Char> text) {
  const std::size_t first = text.find_first_not_of(Char(' '));
  if (first == View<Char>::npos) return {};
  return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}

// CStr(n), and Right(CStr(n + 100), 2) for the two-digit forms.
std::string Number(int n) { return std::to_string(n); }
std::string TwoDigits(int n) {
  const std::string text = std::to_string(n + 100);
  return text.substr(text.size() - 2);
}
std::string LastTwo(int n) {
  const std::string text = std::to_string(n);
  return text.size() > 2 ? text.substr(text.size() - 2) : text;
}

template <typename Char>
Text<Char> DateTimeValue(TokenValue value, const LocalTime& t) {
  const int weekday = ((t.weekday % 7) + 7) % 7;
  switch (value) {
    case TokenValue::Year4:
      return Ascii<Char>(Number(t.year));
    case TokenValue::Year2:
      return Ascii<Char>(LastTwo(t.year));
    case TokenValue::Month2:
      return Ascii<Char>(TwoDigits(t.month));
    case TokenValue::Month1:
      return Ascii<Char>(Number(t.month));
    case TokenValue::Day2:
      return Ascii<Char>(TwoDigits(t.day));
    case TokenValue::Day1:
      return Ascii<Char>(Number(t.day));
    case TokenValue::WeekdayEnglish:
      return Ascii<Char>(kWeekdayNamesEnglish[weekday]);
    case TokenValue::WeekdayJapanese:
      return Chars<Char>::JapaneseWeekday(weekday);
    case TokenValue::Hour2:
      return Ascii<Char>(TwoDigits(t.hour));
    case TokenValue::Hour1:
      return Ascii<Char>(Number(t.hour));
    case TokenValue::Minute2:
      return Ascii<Char>(TwoDigits(t.minute));
    case TokenValue::Minute1:
      return Ascii<Char>(Number(t.minute));
    case TokenValue::Second2:
      return Ascii<Char>(TwoDigits(t.second));
    case TokenValue::Second1:
      return Ascii<Char>(Number(t.second));
    default:
      return {};
  }
}

template <typename Char>
Text<Char> ValueOf(const Placeholder& s, const BasicPageFacts<Text<Char>>* facts, const Clock& clock) {
  switch (s.value) {
    case TokenValue::Fact:
      return (*facts)[s.fact];
    case TokenValue::WideFact:
      return WidenForbiddenChars((*facts)[s.fact]);
    case TokenValue::TrimmedFact:
      return Text<Char>(TrimBlanks<Char>((*facts)[s.fact]));
    case TokenValue::LineBreak:
      return Ascii<Char>("\r\n");
    case TokenValue::Tab:
      return Ascii<Char>("\t");
    default:
      return DateTimeValue<Char>(s.value, clock());
  }
}

// facts is null for a fixed string, whose script has only the lines of the
// fixed-string tokens.
template <typename Char>
Text<Char> Substitute(View<Char> source, const BasicPageFacts<Text<Char>>* facts, const Clock& clock) {
  Text<Char> text(source);
  for (const Placeholder* s : kSubstitutionOrder) {
    if (facts == nullptr && !s->fixedString) continue;
    const Text<Char> token = Ascii<Char>(s->token);
    if (!Contains<Char>(source, token)) continue;
    text = Replace<Char>(text, token, ValueOf<Char>(*s, facts, clock));
  }
  return text;
}

}  // namespace

std::optional<Fact> FactOfToken(std::string_view token) {
  const Placeholder* placeholder = FindPlaceholder(token);
  if (placeholder == nullptr || !ReadsFact(placeholder->value)) return std::nullopt;
  return placeholder->fact;
}

std::vector<Fact> FactsNeeded(std::string_view argumentTemplate) {
  std::array<bool, kFactCount> needed{};
  for (const Placeholder& p : kPlaceholders) {
    if (ReadsFact(p.value) && ContainsToken(argumentTemplate, p.token)) {
      needed[static_cast<std::size_t>(p.fact)] = true;
    }
  }
  std::vector<Fact> facts;
  for (int i = 0; i < kFactCount; ++i) {
    if (needed[i]) facts.push_back(static_cast<Fact>(i));
  }
  return facts;
}

std::vector<std::string_view> SubstitutionOrder() {
  std::vector<std::string_view> tokens;
  for (const Placeholder* p : kSubstitutionOrder) tokens.push_back(p->token);
  return tokens;
}

std::string SubstituteArguments(std::string_view argumentTemplate, const PageFacts& facts,
                                const Clock& clock) {
  return Substitute<char>(argumentTemplate, &facts, clock);
}

std::u16string SubstituteArguments(std::u16string_view argumentTemplate, const PageFacts16& facts,
                                   const Clock& clock) {
  return Substitute<char16_t>(argumentTemplate, &facts, clock);
}

std::u16string_view ArgumentPieces::Text(const Piece& piece) const {
  if (piece.value >= 0) return values[static_cast<std::size_t>(piece.value)];
  return std::u16string_view(templateText).substr(piece.begin, piece.length);
}

std::size_t ArgumentPieces::TotalLength() const {
  std::size_t length = 0;
  for (const Piece& piece : pieces) length += Text(piece).size();
  return length;
}

std::u16string ArgumentPieces::Joined() const {
  std::u16string text;
  text.reserve(TotalLength());
  for (const Piece& piece : pieces) text.append(Text(piece));
  return text;
}

ArgumentPieces SubstituteArgumentsAsData(std::u16string_view argumentTemplate, const PageFacts16& facts,
                                         const Clock& clock) {
  ArgumentPieces result;
  result.templateText = std::u16string(argumentTemplate);
  // Each value once, in the order of the substitution lines, so that the
  // clock is read as the script reads it.
  std::array<int, kPlaceholderCount> valueOf;
  valueOf.fill(-1);
  for (std::size_t i = 0; i < kSubstitutionOrder.size(); ++i) {
    const Placeholder& s = *kSubstitutionOrder[i];
    if (!Contains<char16_t>(argumentTemplate, Ascii<char16_t>(s.token))) continue;
    valueOf[i] = static_cast<int>(result.values.size());
    result.values.push_back(ValueOf<char16_t>(s, &facts, clock));
    result.fromPage.push_back(ReadsFact(s.value));
  }
  // Tokens start with "<" and end with the first ">" after it, so at most
  // one matches at any place.
  std::size_t textStart = 0;
  const auto endText = [&](std::size_t at) {
    if (at > textStart) result.pieces.push_back({textStart, at - textStart, -1});
  };
  for (std::size_t at = 0; at < argumentTemplate.size();) {
    int matched = -1;
    if (argumentTemplate[at] == u'<') {
      for (std::size_t i = 0; i < kSubstitutionOrder.size() && matched < 0; ++i) {
        if (valueOf[i] >= 0 &&
            argumentTemplate.substr(at).starts_with(Ascii<char16_t>(kSubstitutionOrder[i]->token))) {
          matched = static_cast<int>(i);
        }
      }
    }
    if (matched < 0) {
      ++at;
      continue;
    }
    endText(at);
    result.pieces.push_back({0, 0, valueOf[static_cast<std::size_t>(matched)]});
    at += std::string_view(kSubstitutionOrder[static_cast<std::size_t>(matched)]->token).size();
    textStart = at;
  }
  endText(argumentTemplate.size());
  return result;
}

std::string SubstituteFixedString(std::string_view fixedString, const Clock& clock) {
  return Substitute<char>(fixedString, nullptr, clock);
}

std::u16string SubstituteFixedString(std::u16string_view fixedString, const Clock& clock) {
  return Substitute<char16_t>(fixedString, nullptr, clock);
}
