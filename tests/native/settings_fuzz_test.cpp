// Randomised inputs for the settings-file parsing, run under the sanitizers:
// nothing may crash, and what is written must read back.
#include <gtest/gtest.h>

#include <random>

#include "catalogue/settings_format.h"
#include "common/text_util.h"

namespace {

std::string RandomBytes(std::mt19937& random, size_t maxLength, std::string_view alphabet) {
  std::string text(random() % (maxLength + 1), ' ');
  for (char& c : text) {
    c = alphabet.empty() ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
  }
  return text;
}

constexpr std::string_view kIniAlphabet =
    "ItemNameCountFixedString0123456789=[]\"' \t\r\n\\;x\x81\x40\x95\x5C";

}  // namespace

TEST(SettingsFuzz, ArbitrarySectionsNeverCrashTheLoader) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = (round % 3 ? "[ItemList]\r\n" : "") +
                             RandomBytes(random, 400, round % 2 ? kIniAlphabet : std::string_view());
    const auto records = ReadCatalogueText(
        text, [](const std::string&) { return true; },
        [](const std::string& a, const std::string& b) { return a < b; });
    for (const ItemRecord& r : records) {
      EXPECT_FALSE(r.ItemName.empty());
      EXPECT_TRUE(r.FixedString == 0 || r.FixedString == 1);
      EXPECT_TRUE(r.WindowStyle >= 0 && r.WindowStyle <= 3);
    }
  }
}

TEST(SettingsFuzz, WrittenSectionReadsBackWhateverSurroundsIt) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<ItemRecord> records(random() % 4);
    for (ItemRecord& r : records) {
      // Blanks around a value are lost by design, and a typed backslash-n in
      // a comment becomes a line break; everything else must survive.
      r.ItemName = "N" + TrimBlanks(RandomBytes(random, 8, "abc \x95\x5C"));
      r.Argments = TrimBlanks(RandomBytes(random, 12, "\"'<>TU \\n\x81\x40"));
      r.Comment = TrimBlanks(RandomBytes(random, 12, "\"'ab ") + "\r\n" + RandomBytes(random, 5, "xy'\""));
      r.AplPath = "C:\\" + RandomBytes(random, 6, "ab");
    }
    const std::string surrounding = RandomBytes(random, 200, "abc=;[] \r\n\x81\x40");
    const std::string file = ReplaceIniSection(surrounding, "ItemList", CatalogueEntries(records));
    // Find the section again and read it back.
    const auto found = IniSectionValues(file, "itemlist");
    ASSERT_TRUE(found.has_value());
    const auto& values = *found;
    ASSERT_EQ(values.at("ITEMCOUNT"), std::to_string(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      EXPECT_EQ(values.at("ITEMNAME" + n), records[i].ItemName);
      EXPECT_EQ(values.at("ARGMENTS" + n), records[i].Argments);
      EXPECT_EQ(DecodeComment(values.at("COMMENT" + n)), records[i].Comment);
    }
  }
}
