#include "catalogue/substitution.h"

#include <array>

#include "catalogue/placeholders.h"
#include "common/text_util.h"

namespace {

enum class Value {
  Fact,         // the fact as it is
  WideFact,     // the fact through cnvNarrowToWide
  TrimmedFact,  // the fact without leading and trailing blanks (VBScript Trim)
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

struct Substitution {
  const char* token;
  Value value;
  Fact fact;  // for the fact values only
};

// The launcher script's substitution lines, in their order. The token texts
// name entries of kPlaceholders; the tests hold the two tables and the
// generated scripts' lines together.
constexpr Substitution kSubstitutions[] = {
    {"<TT>", Value::Fact, Fact::TopTitle},
    {"<TU>", Value::Fact, Fact::TopUrl},
    {"<TT2>", Value::WideFact, Fact::TopTitle},
    {"<TU2>", Value::WideFact, Fact::TopUrl},
    {"<FT>", Value::Fact, Fact::FrameTitle},
    {"<FU>", Value::Fact, Fact::FrameUrl},
    {"<FT2>", Value::WideFact, Fact::FrameTitle},
    {"<FU2>", Value::WideFact, Fact::FrameUrl},
    {"<AU>", Value::Fact, Fact::LinkUrl},
    {"<AT>", Value::Fact, Fact::LinkText},
    {"<IU>", Value::Fact, Fact::ImageUrl},
    {"<IA>", Value::Fact, Fact::ImageAlt},
    {"<ST>", Value::TrimmedFact, Fact::SelectionText},
    {"<SS>", Value::Fact, Fact::SelectionSource},
    {"<Y4>", Value::Year4, {}},
    {"<Y2>", Value::Year2, {}},
    {"<M2>", Value::Month2, {}},
    {"<M1>", Value::Month1, {}},
    {"<D2>", Value::Day2, {}},
    {"<D1>", Value::Day1, {}},
    {"<WE>", Value::WeekdayEnglish, {}},
    {"<WJ>", Value::WeekdayJapanese, {}},
    {"<H2>", Value::Hour2, {}},
    {"<H1>", Value::Hour1, {}},
    {"<N2>", Value::Minute2, {}},
    {"<N1>", Value::Minute1, {}},
    {"<S2>", Value::Second2, {}},
    {"<S1>", Value::Second1, {}},
    {"<IT>", Value::Fact, Fact::InputText},
    {"<\\N>", Value::LineBreak, {}},
    {"<\\T>", Value::Tab, {}},
};

bool ReadsFact(Value value) {
  return value == Value::Fact || value == Value::WideFact || value == Value::TrimmedFact;
}

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
  static constexpr std::array<const char*, 7> kJapaneseWeekdays = {"日", "月", "火", "水", "木", "金", "土"};
  static constexpr std::array<const char*, 9> kWide = {"￥", "／", "：", "＊", "？", "”", "＜", "＞", "｜"};
};

template <>
struct Chars<char16_t> {
  static std::size_t Find(std::u16string_view text, std::u16string_view needle, std::size_t from) {
    return text.find(needle, from);
  }
  static constexpr std::array<const char16_t*, 7> kJapaneseWeekdays = {u"日", u"月", u"火", u"水",
                                                                       u"木", u"金", u"土"};
  static constexpr std::array<const char16_t*, 9> kWide = {u"￥", u"／", u"：", u"＊", u"？",
                                                           u"”",  u"＜", u"＞", u"｜"};
};

// The narrow characters of cnvNarrowToWide, paired in order with Chars::kWide.
constexpr char kNarrow[] = {'\\', '/', ':', '*', '?', '"', '<', '>', '|'};

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

template <typename Char>
Text<Char> NarrowToWide(View<Char> source) {
  Text<Char> text(source);
  for (std::size_t i = 0; i < std::size(kNarrow); ++i) {
    const Char narrow[] = {static_cast<Char>(kNarrow[i]), Char()};
    text = Replace<Char>(text, narrow, Chars<Char>::kWide[i]);
  }
  return text;
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
Text<Char> DateTimeValue(Value value, const LocalTime& t) {
  static constexpr std::array<const char*, 7> kEnglishWeekdays = {"Sun", "Mon", "Tue", "Wed",
                                                                  "Thu", "Fri", "Sat"};
  const int weekday = ((t.weekday % 7) + 7) % 7;
  switch (value) {
    case Value::Year4:
      return Ascii<Char>(Number(t.year));
    case Value::Year2:
      return Ascii<Char>(LastTwo(t.year));
    case Value::Month2:
      return Ascii<Char>(TwoDigits(t.month));
    case Value::Month1:
      return Ascii<Char>(Number(t.month));
    case Value::Day2:
      return Ascii<Char>(TwoDigits(t.day));
    case Value::Day1:
      return Ascii<Char>(Number(t.day));
    case Value::WeekdayEnglish:
      return Ascii<Char>(kEnglishWeekdays[weekday]);
    case Value::WeekdayJapanese:
      return Chars<Char>::kJapaneseWeekdays[weekday];
    case Value::Hour2:
      return Ascii<Char>(TwoDigits(t.hour));
    case Value::Hour1:
      return Ascii<Char>(Number(t.hour));
    case Value::Minute2:
      return Ascii<Char>(TwoDigits(t.minute));
    case Value::Minute1:
      return Ascii<Char>(Number(t.minute));
    case Value::Second2:
      return Ascii<Char>(TwoDigits(t.second));
    case Value::Second1:
      return Ascii<Char>(Number(t.second));
    default:
      return {};
  }
}

template <typename Char>
Text<Char> ValueOf(const Substitution& s, const BasicPageFacts<Text<Char>>* facts, const Clock& clock) {
  switch (s.value) {
    case Value::Fact:
      return (*facts)[s.fact];
    case Value::WideFact:
      return NarrowToWide<Char>((*facts)[s.fact]);
    case Value::TrimmedFact:
      return Text<Char>(TrimBlanks<Char>((*facts)[s.fact]));
    case Value::LineBreak:
      return Ascii<Char>("\r\n");
    case Value::Tab:
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
  for (const Substitution& s : kSubstitutions) {
    if (facts == nullptr && !FindPlaceholder(s.token)->fixedString) continue;
    const Text<Char> token = Ascii<Char>(s.token);
    if (!Contains<Char>(source, token)) continue;
    text = Replace<Char>(text, token, ValueOf<Char>(s, facts, clock));
  }
  return text;
}

}  // namespace

std::optional<Fact> FactOfToken(std::string_view token) {
  for (const Substitution& s : kSubstitutions) {
    if (token == s.token && ReadsFact(s.value)) return s.fact;
  }
  return std::nullopt;
}

std::vector<Fact> FactsNeeded(std::string_view argumentTemplate) {
  std::array<bool, kFactCount> needed{};
  for (const Substitution& s : kSubstitutions) {
    if (ReadsFact(s.value) && ContainsToken(argumentTemplate, s.token)) {
      needed[static_cast<std::size_t>(s.fact)] = true;
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
  for (const Substitution& s : kSubstitutions) tokens.push_back(s.token);
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
  std::array<int, std::size(kSubstitutions)> valueOf;
  valueOf.fill(-1);
  for (std::size_t i = 0; i < std::size(kSubstitutions); ++i) {
    const Substitution& s = kSubstitutions[i];
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
      for (std::size_t i = 0; i < std::size(kSubstitutions) && matched < 0; ++i) {
        if (valueOf[i] >= 0 &&
            argumentTemplate.substr(at).starts_with(Ascii<char16_t>(kSubstitutions[i].token))) {
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
    at += std::string_view(kSubstitutions[static_cast<std::size_t>(matched)].token).size();
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
