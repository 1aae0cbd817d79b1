// The substitution engine: every token's value, the order in which the lines
// work on each other's results, the clock reads, the facts a template needs,
// the agreement with the generated scripts' lines, and the UTF-16 engine
// against the code page 932 one.
#include "catalogue/substitution.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <set>

#include "catalogue/fixed_string_script.h"
#include "catalogue/launcher_script.h"
#include "catalogue/placeholders.h"
#include "tests/native/code_page.h"

namespace {

// Tuesday, 5 March 2024, 07:08:09.
constexpr LocalTime kMoment = {2024, 3, 5, 2, 7, 8, 9};
const Clock kFixedClock = [] { return kMoment; };

PageFacts SampleFacts() {
  PageFacts facts;
  facts[Fact::TopUrl] = "http://top.example.jp/a?b=1|2&c=<3>";
  facts[Fact::TopTitle] = "Top: \"A\" *B? C\\D/E";
  facts[Fact::FrameUrl] = "http://frame.example.jp/f.html";
  facts[Fact::FrameTitle] = "表ポ|x";  // trail bytes 0x5C and 0x7C
  facts[Fact::LinkUrl] = "http://link.example.jp/?q=a&b";
  facts[Fact::LinkText] = "リンク";
  facts[Fact::ImageUrl] = "http://img.example.jp/i.png";
  facts[Fact::ImageAlt] = "画像 alt";
  facts[Fact::SelectionText] = "  sel \t text\r\n  ";
  facts[Fact::SelectionSource] = "  <B>x</B> ";
  facts[Fact::InputText] = "入力";
  return facts;
}

struct Case {
  std::string text;
  std::string expected;
  std::function<void(PageFacts&)> change = [](PageFacts&) {};
};

TEST(Substitution, EveryTokenAndWhatIsNoToken) {
  const Case cases[] = {
      {"<TU>", "http://top.example.jp/a?b=1|2&c=<3>"},
      {"<TT>", "Top: \"A\" *B? C\\D/E"},
      {"<FU>", "http://frame.example.jp/f.html"},
      {"<FT>", "表ポ|x"},
      {"<TU2>", "http：／／top.example.jp／a？b=1｜2&c=＜3＞"},
      {"<TT2>", "Top： ”A” ＊B？ C￥D／E"},
      {"<FU2>", "http：／／frame.example.jp／f.html"},
      {"<FT2>", "表ポ｜x"},
      {"<AU>", "http://link.example.jp/?q=a&b"},
      {"<AT>", "リンク"},
      {"<IU>", "http://img.example.jp/i.png"},
      {"<IA>", "画像 alt"},
      {"<ST>", "sel \t text\r\n"},
      {"<SS>", "  <B>x</B> "},
      {"<IT>", "入力"},
      {"<IT>", "", [](PageFacts& f) { f[Fact::InputText].clear(); }},
      {"<ST>", "", [](PageFacts& f) { f[Fact::SelectionText] = "    "; }},
      {"<ST>", "　全角　", [](PageFacts& f) { f[Fact::SelectionText] = " 　全角　 "; }},
      {"<Y4>", "2024"},
      {"<Y2>", "24"},
      {"<M2>", "03"},
      {"<M1>", "3"},
      {"<D2>", "05"},
      {"<D1>", "5"},
      {"<WE>", "Tue"},
      {"<WJ>", "火"},
      {"<H2>", "07"},
      {"<H1>", "7"},
      {"<N2>", "08"},
      {"<N1>", "8"},
      {"<S2>", "09"},
      {"<S1>", "9"},
      {"<\\N>", "\r\n"},
      {"<\\T>", "\t"},
      {"<tu> <Tu> <TU <TU2 TU> <\\n> < TT>", "<tu> <Tu> <TU <TU2 TU> <\\n> < TT>"},
      {"\"<AU>\" /x \"\" & '<AT>'", "\"http://link.example.jp/?q=a&b\" /x \"\" & 'リンク'"},
      {"<AU><AU>-<AU>",
       "http://link.example.jp/?q=a&bhttp://link.example.jp/?q=a&b-http://link.example.jp/?q=a&b"},
      {"", ""},
  };
  for (const Case& c : cases) {
    PageFacts facts = SampleFacts();
    c.change(facts);
    EXPECT_EQ(SubstituteArguments(c.text, facts, kFixedClock), c.expected) << c.text;
  }
}

TEST(Substitution, LinesWorkOnTheTextTheEarlierOnesLeft) {
  const Case cases[] = {
      // A value holding a later line's token is changed by that line.
      {"<TT> <FU>", "title F F", [](PageFacts& f) { f[Fact::TopTitle] = "title <FU>"; }},
      {"<TT> <Y4>", "2024 2024", [](PageFacts& f) { f[Fact::TopTitle] = "<Y4>"; }},
      {"<IT><\\T>", "\t\t", [](PageFacts& f) { f[Fact::InputText] = "<\\T>"; }},
      {"<ST><\\N>", "\r\n\r\n", [](PageFacts& f) { f[Fact::SelectionText] = "  <\\N> "; }},
      // An earlier line's token in a value stays: <TT> runs before <TU>.
      {"<TU><TT>", "u<TT>T",
       [](PageFacts& f) {
         f[Fact::TopUrl] = "u<TT>";
         f[Fact::TopTitle] = "T";
       }},
      // A token the template lacks has no line, whatever the values hold.
      {"<TT>", "<FU> <Y4> <IT> <\\N>", [](PageFacts& f) { f[Fact::TopTitle] = "<FU> <Y4> <IT> <\\N>"; }},
      // What a replacement puts together is not looked at again.
      {"<<TT>TT>", "<TT>", [](PageFacts& f) { f[Fact::TopTitle].clear(); }},
      {"<TT2>", "＜TT＞", [](PageFacts& f) { f[Fact::TopTitle] = "<TT>"; }},
      // A token replaced away before its own line is no longer there.
      {"<TT>U>", "<TU>", [](PageFacts& f) { f[Fact::TopTitle] = "<T"; }},
      {"<TT>U> <TU>", "x x",
       [](PageFacts& f) {
         f[Fact::TopTitle] = "<T";
         f[Fact::TopUrl] = "x";
       }},
      // Trail bytes 0x5C and 0x7C are parts of characters, not \ and |.
      {"<TU2>", "表ソ＼｜", [](PageFacts& f) { f[Fact::TopUrl] = "表ソ＼|"; }},
  };
  for (const Case& c : cases) {
    PageFacts facts = SampleFacts();
    facts[Fact::FrameUrl] = "F";
    c.change(facts);
    EXPECT_EQ(SubstituteArguments(c.text, facts, kFixedClock), c.expected) << c.text;
  }
}

TEST(Substitution, ClockReadOncePerDateLineInLineOrder) {
  struct ClockCase {
    std::string text;
    std::string expected;
    int reads;
  } cases[] = {
      // <Y4>'s line comes first, then <S2>'s, then <S1>'s.
      {"<S1>|<S2>|<Y4>", "2|01|2000", 3},
      // One read per line, however often the token occurs.
      {"<S1><S1> <WE> <WJ>", "22 Sun 月", 3},
      {"<H1><N1><S1><D1><M1>", "23421", 5},
      {"<TT> <IT> <\\N>", "Top: \"A\" *B? C\\D/E 入力 \r\n", 0},
  };
  for (const ClockCase& c : cases) {
    int reads = 0;
    // Reading k gives k in every field, so each value tells which read it got.
    const Clock clock = [&] {
      const int k = reads++;
      return LocalTime{2000 + k, 1 + k, 1 + k, k, k, k, k};
    };
    EXPECT_EQ(SubstituteArguments(c.text, SampleFacts(), clock), c.expected) << c.text;
    EXPECT_EQ(reads, c.reads) << c.text;
  }
}

TEST(Substitution, FactsATemplateNeeds) {
  using F = Fact;
  const struct {
    std::string text;
    std::vector<Fact> needed;
  } cases[] = {
      {"<TU>", {F::TopUrl}},
      {"<TU2>", {F::TopUrl}},
      {"<TT>", {F::TopTitle}},
      {"<TT2>", {F::TopTitle}},
      {"<FU>", {F::FrameUrl}},
      {"<FU2>", {F::FrameUrl}},
      {"<FT>", {F::FrameTitle}},
      {"<FT2>", {F::FrameTitle}},
      {"<AU>", {F::LinkUrl}},
      {"<AT>", {F::LinkText}},
      {"<IU>", {F::ImageUrl}},
      {"<IA>", {F::ImageAlt}},
      {"<ST>", {F::SelectionText}},
      {"<SS>", {F::SelectionSource}},
      {"<IT>", {F::InputText}},
      {"<Y4><Y2><M2><M1><D2><D1><WE><WJ><H2><H1><N2><N1><S2><S1><\\N><\\T>", {}},
      {"<it> <tu2> <IT <ST", {}},
      {"", {}},
      // Each fact once, in the order of the fact names.
      {"<IT> <TT2><TT> <TU2> <AU><IU>", {F::TopUrl, F::TopTitle, F::LinkUrl, F::ImageUrl, F::InputText}},
  };
  for (const auto& c : cases) EXPECT_EQ(FactsNeeded(c.text), c.needed) << c.text;

  const char* names[] = {"topUrl",   "topTitle", "frameUrl",      "frameTitle",      "linkUrl",  "linkText",
                         "imageUrl", "imageAlt", "selectionText", "selectionSource", "inputText"};
  for (int i = 0; i < kFactCount; ++i) {
    EXPECT_STREQ(FactName(static_cast<Fact>(i)), names[i]);
    EXPECT_EQ(FactFromName(names[i]), static_cast<Fact>(i));
  }
  EXPECT_EQ(FactFromName("TopUrl"), std::nullopt);
  EXPECT_EQ(FactFromName(""), std::nullopt);
}

TEST(Substitution, FixedStringOnlyItsSixteenTokens) {
  const Case cases[] = {
      {"<Y4>/<M2>/<D2>", "2024/03/05"},
      {"<H2>:<N2>:<S2> (<WJ>) <WE>", "07:08:09 (火) Tue"},
      {"a<\\N>b<\\T>c", "a\r\nb\tc"},
      {"<TU> <IT> <ST> <TT2> \"q\" & <y4>", "<TU> <IT> <ST> <TT2> \"q\" & <y4>"},
      {"  <D1>  ", "  5  "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SubstituteFixedString(c.text, kFixedClock), c.expected) << c.text;
  }
}

// The tokens of the Replace lines of a generated script, in line order.
std::vector<std::string> ReplaceLineTokens(const std::string& script, const std::string& variable) {
  std::vector<std::string> tokens;
  const std::regex line(variable + " = Replace\\(" + variable + ", \"([^\"]*)\"");
  for (auto it = std::sregex_iterator(script.begin(), script.end(), line); it != std::sregex_iterator();
       ++it) {
    tokens.push_back((*it)[1]);
  }
  return tokens;
}

TEST(Substitution, SameTokensInTheSameOrderAsTheScripts) {
  std::string every;
  for (const Placeholder& p : kPlaceholders) every += p.token;
  std::vector<std::string> order, fixedOrder;
  for (const std::string_view token : SubstitutionOrder()) {
    order.emplace_back(token);
    ASSERT_NE(FindPlaceholder(token), nullptr) << token;
    if (FindPlaceholder(token)->fixedString) fixedOrder.emplace_back(token);
  }
  EXPECT_EQ(std::set<std::string>(order.begin(), order.end()).size(), static_cast<size_t>(kPlaceholderCount));
  EXPECT_EQ(ReplaceLineTokens(LauncherScriptText("n", "C:\\a.exe", every, 1, false), "strArgments"), order);
  EXPECT_EQ(ReplaceLineTokens(FixedStringScriptText(every), "strFixedString"), fixedOrder);

  // A fact for the tokens of the page, link, image and selection groups and
  // for <IT>; none for the rest.
  for (const Placeholder& p : kPlaceholders) {
    const bool readsFact = p.group != TokenGroup::DateTime && p.group != TokenGroup::Other;
    EXPECT_EQ(FactOfToken(p.token).has_value(), readsFact || std::string(p.token) == "<IT>") << p.token;
  }
}

std::u16string Utf16(const std::string& cp932) { return Cp932ToUtf16(cp932); }

// Random templates and facts from pieces that provoke the engine: tokens,
// near-tokens, quotes, the nine narrow characters, double-byte characters
// with trail bytes 0x5C and 0x7C, blanks and line breaks.
std::string RandomText(std::mt19937& random, int maxPieces, bool controls) {
  static std::vector<std::string> pieces = [] {
    std::vector<std::string> p;
    for (const Placeholder& placeholder : kPlaceholders) p.push_back(placeholder.token);
    for (const char* extra :
         {"x",  " ",  "  ", "\"",     "&", "<",  ">", "\\", "/",    ":",   "*",   "?", "|",  "表",
          "ソ", "ポ", "能", "日本語", "ｱ", "￥", "”", "＜", "<tu>", "<IT", "TT>", "2", "</", "%20"}) {
      p.push_back(extra);
    }
    return p;
  }();
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
  for (int i = 0; i < count; ++i) {
    if (controls && std::uniform_int_distribution<int>(0, 15)(random) == 0) {
      text += std::uniform_int_distribution<int>(0, 1)(random) ? "\r\n" : "\t";
    } else {
      text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    }
  }
  return text;
}

TEST(Substitution, Utf16EngineAgreesWithTheCodePageOne) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 1000; ++round) {
    const std::string text = RandomText(random, 10, false);
    PageFacts facts;
    PageFacts16 facts16;
    for (int f = 0; f < kFactCount; ++f) {
      facts.values[f] = RandomText(random, 4, true);
      facts16.values[f] = Utf16(facts.values[f]);
    }
    const LocalTime moment = {1990 + round % 40, 1 + round % 12, 1 + round % 28,  round % 7,
                              round % 24,        round % 60,     (round * 7) % 60};
    const Clock clock = [&] { return moment; };
    const std::string narrow = SubstituteArguments(text, facts, clock);
    ASSERT_EQ(SubstituteArguments(Utf16(text), facts16, clock), Utf16(narrow)) << text;
    ASSERT_EQ(SubstituteFixedString(Utf16(text), clock), Utf16(SubstituteFixedString(text, clock))) << text;
    // Without any token the text stays as it is.
    if (FactsNeeded(text).empty() && SubstituteFixedString(text, clock) == text) {
      bool anyToken = false;
      for (const Placeholder& p : kPlaceholders) anyToken = anyToken || ContainsToken(text, p.token);
      if (!anyToken) {
        ASSERT_EQ(narrow, text);
      }
    }
  }
}

// The host's mode: the page's values are data. Against the script's chain
// above, a value that holds a token keeps it, and nothing else differs.
TEST(Substitution, DataModeNeverLooksIntoValues) {
  const struct {
    std::u16string_view text;
    std::u16string_view title, url;
    std::u16string_view expected;
  } cases[] = {
      {u"<TT> <TU>", u"<TU>", u"http://a/", u"<TU> http://a/"},
      {u"<TT> <Y4>", u"<Y4><\\N>", u"", u"<Y4><\\N> 2024"},
      {u"<TT2>", u"<TT>", u"", u"＜TT＞"},
      {u"<<TT>TU> <TU>", u"", u"u", u"<TU> u"},
      {u"<TT>U> <TU>", u"<T", u"x", u"<TU> x"},
      {u"[<TT>|<Y2><M2><\\T>]", u"t", u"", u"[t|2403\t]"},
  };
  for (const auto& c : cases) {
    PageFacts16 facts;
    facts[Fact::TopTitle] = std::u16string(c.title);
    facts[Fact::TopUrl] = std::u16string(c.url);
    const ArgumentPieces pieces = SubstituteArgumentsAsData(c.text, facts, kFixedClock);
    EXPECT_EQ(pieces.Joined(), c.expected);
    EXPECT_EQ(pieces.TotalLength(), c.expected.size());
  }
  // Without tokens in the values the two modes agree.
  std::mt19937 random(31);
  for (int round = 0; round < 1000; ++round) {
    const std::string text = RandomText(random, 10, false);
    PageFacts16 facts;
    for (std::u16string& value : facts.values) {
      const std::string raw = RandomText(random, 3, true);
      bool anyToken = false;
      for (const Placeholder& p : kPlaceholders) anyToken = anyToken || ContainsToken(raw, p.token);
      value = anyToken ? u"" : Utf16(raw);
    }
    int scriptReads = 0, dataReads = 0;
    const Clock scriptClock = [&] { return LocalTime{2000 + scriptReads++, 1, 1, 0, 0, 0, 0}; };
    const Clock dataClock = [&] { return LocalTime{2000 + dataReads++, 1, 1, 0, 0, 0, 0}; };
    ASSERT_EQ(SubstituteArgumentsAsData(Utf16(text), facts, dataClock).Joined(),
              SubstituteArguments(Utf16(text), facts, scriptClock))
        << text;
    EXPECT_EQ(dataReads, scriptReads) << text;
  }
  // However often a long value stands in the template, only its pieces are
  // kept: 200,000 tokens over a 100 KB value cost no copies of it.
  std::u16string many;
  for (int i = 0; i < 200000; ++i) many += u"<TU>";
  PageFacts16 facts;
  facts[Fact::TopUrl] = std::u16string(100000, u'u');
  const ArgumentPieces pieces = SubstituteArgumentsAsData(many, facts, kFixedClock);
  EXPECT_EQ(pieces.values.size(), 1u);
  EXPECT_EQ(pieces.TotalLength(), 200000ull * 100000ull);
}

TEST(Substitution, ArbitraryBytesAreHandledSafely) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
  const std::string tokenBytes = "<>TUFSAIYMDWEJHN124\\";
  for (int round = 0; round < 2000; ++round) {
    auto randomBytes = [&] {
      std::string s(length(random), '\0');
      for (char& c : s) {
        c = byte(random) < 128 ? tokenBytes[byte(random) % tokenBytes.size()]
                               : static_cast<char>(byte(random));
      }
      return s;
    };
    const std::string text = randomBytes();
    PageFacts facts;
    for (std::string& value : facts.values) value = randomBytes();
    const LocalTime odd = {-5, 0, 99, -3, 100, -1, 61};
    const Clock clock = [&] { return odd; };
    SubstituteArguments(text, facts, clock);
    SubstituteFixedString(text, clock);
    std::u16string wide;
    for (const char c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c) * 251);
    SubstituteArguments(wide, PageFacts16{}, clock);
  }
}

}  // namespace
