#include <gtest/gtest.h>

#include <set>

#include "common/temporary_name.h"

TEST(TemporaryName, NeverLongerThanTheFinalNameAndPlainAscii) {
  struct Case {
    std::string finalName;
    std::string::size_type length;
    bool tmpSuffix;
  } cases[] = {
      {"a", 1, false},
      {"ab", 2, false},
      {"x.url", 5, false},
      {"a.html", 6, false},
      {"ab.html", 7, false},
      {"abc.html", 8, true},
      {"Orbisk.ini", 10, true},
      {std::string(250, 'x') + ".html", 13, true},
      // Counted in bytes: 表 is two bytes in code page 932, one of them 0x5C.
      {"\x95\x5C.url", 6, false},
  };
  for (const Case& c : cases) {
    for (uint64_t seed : {0ull, 1ull, 0xFFFFFFFFFFFFFFFFull, 123456789ull}) {
      const std::string name = TemporaryNameFor(c.finalName, seed);
      EXPECT_EQ(name.size(), c.length) << c.finalName;
      EXPECT_EQ(name.size() >= 4 && name.substr(name.size() - 4) == ".tmp", c.tmpSuffix) << name;
      EXPECT_EQ(name.find_first_not_of("~.0123456789abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
      if (c.length > 1) {
        EXPECT_EQ(name.front(), '~') << name;
      }
    }
  }
}

TEST(TemporaryName, ConsecutiveSeedsGiveDifferentNames) {
  // Callers draw seeds from a counter and retry on a clash; neighbouring
  // seeds must not clash in the first place.
  std::set<std::string> names;
  for (uint64_t seed = 0; seed < 2000; ++seed) names.insert(TemporaryNameFor("Orbisk.ini", seed));
  EXPECT_GT(names.size(), 1990u);
}
