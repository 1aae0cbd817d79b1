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

constexpr std::array<Placeholder, kPlaceholderCount> kPlaceholders = {{
    {TokenGroup::Url, "<&TU> - ページ（フレーム分割されている場合はトップ）のURL", "<TU>", false},
    {TokenGroup::Url, "<&FU> - フレームのURL", "<FU>", false},
    {TokenGroup::Url, "<TU&2> - <TU>のファイル名として使用できない文字を全角変換", "<TU2>", false},
    {TokenGroup::Url, "<FU&2> - <FU>のファイル名として使用できない文字を全角変換", "<FU2>", false},
    {TokenGroup::Title, "<&TT> - ページ（フレーム分割されている場合はトップ）のタイトル", "<TT>", false},
    {TokenGroup::Title, "<&FT> - フレームのタイトル", "<FT>", false},
    {TokenGroup::Title, "<TT&2> - <TT>のファイル名として使用できない文字を全角変換", "<TT2>", false},
    {TokenGroup::Title, "<FT&2> - <FT>のファイル名として使用できない文字を全角変換", "<FT2>", false},
    {TokenGroup::Anchor, "<A&U> - リンク先のURL", "<AU>", false},
    {TokenGroup::Anchor, "<A&T> - リンク部分の文字列", "<AT>", false},
    {TokenGroup::Image, "<I&U> - 画像のURL", "<IU>", false},
    {TokenGroup::Image, "<I&A> - 画像のツールチップ", "<IA>", false},
    {TokenGroup::Select, "<S&T> - 選択された文字列", "<ST>", false},
    {TokenGroup::Select, "<S&S> - 選択された部分のソース", "<SS>", false},
    {TokenGroup::DateTime, "<&Y4> - 西暦年４桁", "<Y4>", true},
    {TokenGroup::DateTime, "<&Y2> - 西暦年下２桁", "<Y2>", true},
    {TokenGroup::DateTime, "<&M2> - 月２桁(01 ～ 12)", "<M2>", true},
    {TokenGroup::DateTime, "<&M1> - 月１桁(1 ～ 12)", "<M1>", true},
    {TokenGroup::DateTime, "<&D2> - 日２桁(01 ～ 31)", "<D2>", true},
    {TokenGroup::DateTime, "<&D1> - 日１桁(1 ～ 31)", "<D1>", true},
    {TokenGroup::DateTime, "<&WE> - 曜日(Sun ～ Sat)", "<WE>", true},
    {TokenGroup::DateTime, "<&WJ> - 曜日(日 ～ 土)", "<WJ>", true},
    {TokenGroup::DateTime, "<&H2> - 時２桁(00 ～ 23)", "<H2>", true},
    {TokenGroup::DateTime, "<&H1> - 時１桁(0 ～ 23)", "<H1>", true},
    {TokenGroup::DateTime, "<&N2> - 分２桁(00 ～ 59)", "<N2>", true},
    {TokenGroup::DateTime, "<&N1> - 分１桁(0 ～ 59)", "<N1>", true},
    {TokenGroup::DateTime, "<&S2> - 秒２桁(00 ～ 59)", "<S2>", true},
    {TokenGroup::DateTime, "<&S1> - 秒１桁(0 ～ 59)", "<S1>", true},
    {TokenGroup::Other, "<\\&N> - 改行文字", "<\\N>", true},
    {TokenGroup::Other, "<\\&T> - タブ文字", "<\\T>", true},
    {TokenGroup::Other, "<&IT> - 文字列入力", "<IT>", false},
}};

// The 31 tokens, every row given: a std::array fills missing rows with empty
// ones instead of failing to compile.
static_assert(kPlaceholderCount == 31);
static_assert(std::all_of(kPlaceholders.begin(), kPlaceholders.end(),
                          [](const Placeholder& p) { return p.token != nullptr && p.caption != nullptr; }));
static_assert(std::count_if(kPlaceholders.begin(), kPlaceholders.end(),
                            [](const Placeholder& p) { return p.fixedString; }) == kFixedStringTokenCount);

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
