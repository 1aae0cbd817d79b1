#include "catalogue/placeholders.h"

#include <algorithm>

#include "common/text_util.h"

const std::array<PlaceholderGroup, kPlaceholderGroupCount> kPlaceholderGroups = {{
    {TokenGroup::Url, "&URL"},
    {TokenGroup::Title, "タイトル(&T)"},
    {TokenGroup::Anchor, "リンク(&A)"},
    {TokenGroup::Image, "画像(&I)"},
    {TokenGroup::Select, "選択(&S)"},
    {TokenGroup::DateTime, "日時(&D)"},
    {TokenGroup::Other, "その他(&O)"},
}};

namespace {

using G = TokenGroup;
using V = TokenValue;
using F = Fact;

}  // namespace

// Menu order; "order" gives the place of the token's substitution line.
constexpr std::array<Placeholder, kPlaceholderCount> kPlaceholders = {{
    // token, group, caption, fixed string, value, fact, order, array, expression
    {"<TU>", G::Url, "<&TU> - ページ（フレーム分割されている場合はトップ）のURL", false, V::Fact, F::TopUrl,
     1},
    {"<FU>", G::Url, "<&FU> - フレームのURL", false, V::Fact, F::FrameUrl, 5},
    {"<TU2>", G::Url, "<TU&2> - <TU>のファイル名として使用できない文字を全角変換", false, V::WideFact,
     F::TopUrl, 3},
    {"<FU2>", G::Url, "<FU&2> - <FU>のファイル名として使用できない文字を全角変換", false, V::WideFact,
     F::FrameUrl, 7},
    {"<TT>", G::Title, "<&TT> - ページ（フレーム分割されている場合はトップ）のタイトル", false, V::Fact,
     F::TopTitle, 0},
    {"<FT>", G::Title, "<&FT> - フレームのタイトル", false, V::Fact, F::FrameTitle, 4},
    {"<TT2>", G::Title, "<TT&2> - <TT>のファイル名として使用できない文字を全角変換", false, V::WideFact,
     F::TopTitle, 2},
    {"<FT2>", G::Title, "<FT&2> - <FT>のファイル名として使用できない文字を全角変換", false, V::WideFact,
     F::FrameTitle, 6},
    {"<AU>", G::Anchor, "<A&U> - リンク先のURL", false, V::Fact, F::LinkUrl, 8},
    {"<AT>", G::Anchor, "<A&T> - リンク部分の文字列", false, V::Fact, F::LinkText, 9},
    {"<IU>", G::Image, "<I&U> - 画像のURL", false, V::Fact, F::ImageUrl, 10},
    {"<IA>", G::Image, "<I&A> - 画像のツールチップ", false, V::Fact, F::ImageAlt, 11},
    {"<ST>", G::Select, "<S&T> - 選択された文字列", false, V::TrimmedFact, F::SelectionText, 12},
    {"<SS>", G::Select, "<S&S> - 選択された部分のソース", false, V::Fact, F::SelectionSource, 13},
    {"<Y4>", G::DateTime, "<&Y4> - 西暦年４桁", true, V::Year4, {}, 14, nullptr, "CStr(Year(Now))"},
    {"<Y2>",
     G::DateTime,
     "<&Y2> - 西暦年下２桁",
     true,
     V::Year2,
     {},
     15,
     nullptr,
     "Right(CStr(Year(Now)), 2)"},
    {"<M2>",
     G::DateTime,
     "<&M2> - 月２桁(01 ～ 12)",
     true,
     V::Month2,
     {},
     16,
     nullptr,
     "Right(CStr(Month(Now) + 100), 2)"},
    {"<M1>", G::DateTime, "<&M1> - 月１桁(1 ～ 12)", true, V::Month1, {}, 17, nullptr, "CStr(Month(Now))"},
    {"<D2>",
     G::DateTime,
     "<&D2> - 日２桁(01 ～ 31)",
     true,
     V::Day2,
     {},
     18,
     nullptr,
     "Right(CStr(Day(Now) + 100), 2)"},
    {"<D1>", G::DateTime, "<&D1> - 日１桁(1 ～ 31)", true, V::Day1, {}, 19, nullptr, "CStr(Day(Now))"},
    {"<WE>",
     G::DateTime,
     "<&WE> - 曜日(Sun ～ Sat)",
     true,
     V::WeekdayEnglish,
     {},
     20,
     "aryWeekdayEng",
     "aryWeekdayEng(Weekday(Now) - 1)"},
    {"<WJ>",
     G::DateTime,
     "<&WJ> - 曜日(日 ～ 土)",
     true,
     V::WeekdayJapanese,
     {},
     21,
     "aryWeekdayJpn",
     "aryWeekdayJpn(Weekday(Now) - 1)"},
    {"<H2>",
     G::DateTime,
     "<&H2> - 時２桁(00 ～ 23)",
     true,
     V::Hour2,
     {},
     22,
     nullptr,
     "Right(CStr(Hour(Now) + 100), 2)"},
    {"<H1>", G::DateTime, "<&H1> - 時１桁(0 ～ 23)", true, V::Hour1, {}, 23, nullptr, "CStr(Hour(Now))"},
    {"<N2>",
     G::DateTime,
     "<&N2> - 分２桁(00 ～ 59)",
     true,
     V::Minute2,
     {},
     24,
     nullptr,
     "Right(CStr(Minute(Now) + 100), 2)"},
    {"<N1>", G::DateTime, "<&N1> - 分１桁(0 ～ 59)", true, V::Minute1, {}, 25, nullptr, "CStr(Minute(Now))"},
    {"<S2>",
     G::DateTime,
     "<&S2> - 秒２桁(00 ～ 59)",
     true,
     V::Second2,
     {},
     26,
     nullptr,
     "Right(CStr(Second(Now) + 100), 2)"},
    {"<S1>", G::DateTime, "<&S1> - 秒１桁(0 ～ 59)", true, V::Second1, {}, 27, nullptr, "CStr(Second(Now))"},
    {"<\\N>", G::Other, "<\\&N> - 改行文字", true, V::LineBreak, {}, 29, nullptr, "vbCrLf"},
    {"<\\T>", G::Other, "<\\&T> - タブ文字", true, V::Tab, {}, 30, nullptr, "vbTab"},
    {"<IT>", G::Other, "<&IT> - 文字列入力", false, V::Fact, F::InputText, 28},
}};

namespace {

constexpr std::array<const Placeholder*, kPlaceholderCount> MakeSubstitutionOrder() {
  std::array<const Placeholder*, kPlaceholderCount> order{};
  for (const Placeholder& p : kPlaceholders) order[p.order] = &p;
  return order;
}

// Every row given (a std::array fills missing rows with empty ones instead of
// failing to compile), each place of the substitution order taken once, and
// every value that is no page fact with the expression its line puts in.
constexpr bool TableIsWhole() {
  std::array<int, kPlaceholderCount> places{};
  int fixed = 0;
  for (const Placeholder& p : kPlaceholders) {
    if (p.token == nullptr || p.caption == nullptr) return false;
    if (p.order < 0 || p.order >= kPlaceholderCount || places[p.order]++ != 0) return false;
    if (!ReadsFact(p.value) && p.expression == nullptr) return false;
    if (ReadsFact(p.value) && (p.expression != nullptr || p.fixedString)) return false;
    fixed += p.fixedString;
  }
  return fixed == kFixedStringTokenCount;
}
static_assert(TableIsWhole());

}  // namespace

constexpr std::array<const Placeholder*, kPlaceholderCount> kSubstitutionOrder = MakeSubstitutionOrder();

PlaceholderRange PlaceholdersOf(TokenGroup group) {
  const Placeholder* first = std::find_if(kPlaceholders.begin(), kPlaceholders.end(),
                                          [group](const Placeholder& p) { return p.group == group; });
  const Placeholder* last =
      std::find_if(first, kPlaceholders.end(), [group](const Placeholder& p) { return p.group != group; });
  return {first, last};
}

bool GroupOfferedForFixedString(TokenGroup group) {
  for (const Placeholder& placeholder : PlaceholdersOf(group)) {
    if (placeholder.fixedString) return true;
  }
  return false;
}

const Placeholder* FindPlaceholder(std::string_view token) {
  for (const Placeholder& placeholder : kPlaceholders) {
    if (token == placeholder.token) return &placeholder;
  }
  return nullptr;
}

bool ContainsToken(std::string_view text, std::string_view token) {
  return FindSjis(text, token) != std::string_view::npos;
}

const std::array<FactVariable, kFactCount> kFactVariables = {{
    {Fact::TopTitle, "strTopTitle"},
    {Fact::TopUrl, "strTopUrl"},
    {Fact::FrameTitle, "strFrmTitle"},
    {Fact::FrameUrl, "strFrmUrl"},
    {Fact::LinkText, "strAnchorText"},
    {Fact::LinkUrl, "strAnchorUrl"},
    {Fact::ImageUrl, "strImageUrl"},
    {Fact::ImageAlt, "strImageAlt"},
    {Fact::SelectionText, "strSelText"},
    {Fact::SelectionSource, "strSelSource"},
    {Fact::InputText, "strInputText"},
}};

const char* ScriptVariable(Fact fact) {
  for (const FactVariable& v : kFactVariables) {
    if (v.fact == fact) return v.variable;
  }
  return "";
}

const std::array<const char*, 7> kWeekdayNamesEnglish = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const std::array<const char*, 7> kWeekdayNamesJapanese = {"日", "月", "火", "水", "木", "金", "土"};
const std::array<const char16_t*, 7> kWeekdayNamesJapanese16 = {u"日", u"月", u"火", u"水",
                                                                u"木", u"金", u"土"};
