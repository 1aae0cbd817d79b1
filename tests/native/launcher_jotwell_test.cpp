#include <gtest/gtest.h>

#include <map>

#include "launchers/jotwell/jotwell_options.h"

namespace {

// What the fake disk holds; anything else is Missing. It records what it was
// asked, so that the tests see the quotes were stripped first.
struct FakeDisk {
  std::map<std::string, PathKind> entries = {
      {"C:\\Tools\\ed.exe", PathKind::File},
      {"C:\\Tools\\my editor.EXE", PathKind::File},
      {"C:\\Tools\\notes.txt", PathKind::File},
      {"C:\\Tools\\dir.exe", PathKind::Folder},
  };
  std::function<PathKind(const std::string&)> Kind() {
    return [this](const std::string& path) {
      const auto found = entries.find(path);
      return found == entries.end() ? PathKind::Missing : found->second;
    };
  }
};

}  // namespace

TEST(JotwellOptions, StripEnclosingQuotes) {
  EXPECT_EQ(StripEnclosingQuotes("\"C:\\a b.txt\""), "C:\\a b.txt");
  EXPECT_EQ(StripEnclosingQuotes("C:\\a.txt"), "C:\\a.txt");
  EXPECT_EQ(StripEnclosingQuotes("\"C:\\a.txt"), "\"C:\\a.txt");
  EXPECT_EQ(StripEnclosingQuotes("\"\""), "");
  EXPECT_EQ(StripEnclosingQuotes(""), "");
  EXPECT_EQ(StripEnclosingQuotes("\""), std::nullopt);
}

TEST(JotwellOptions, ParsesOptionsInAnyOrderAndCase) {
  FakeDisk disk;
  struct Case {
    std::string argumentText;
    std::string text, filePath;
    bool open;
    std::string editorPath;
    bool usable;
  } cases[] = {
      {"/sHello /oC:\\n.txt", "Hello", "C:\\n.txt", false, "", true},
      {"/OC:\\n.txt /SHello", "Hello", "C:\\n.txt", false, "", true},
      {"/oC:\\n.txt /e /sHello", "Hello", "C:\\n.txt", true, "", true},
      {"/EC:\\Tools\\ed.exe /sHi /oC:\\n.txt", "Hi", "C:\\n.txt", true, "C:\\Tools\\ed.exe", true},
      // Blanks: the text keeps its own, the paths lose their trailing ones.
      {"/s  two  blanks  /oC:\\n.txt   ", "  two  blanks ", "C:\\n.txt", false, "", true},
      {"/sa\tb\r\nc /o\"C:\\a b\\n.txt\"", "a\tb\r\nc", "\"C:\\a b\\n.txt\"", false, "", true},
      // A " /" inside the text cuts it; the rest is another (ignored) piece.
      {"/sa /x b /oC:\\n.txt", "a", "C:\\n.txt", false, "", true},
      {"/sa /b/c /oC:\\n.txt", "a", "C:\\n.txt", false, "", true},
      // Later pieces overwrite; E stays set once seen.
      {"/sOne /sTwo /oC:\\a /oC:\\b /e /eC:\\Tools\\ed.exe", "Two", "C:\\b", true, "C:\\Tools\\ed.exe", true},
      {"/eC:\\Tools\\ed.exe /e /sx /oy", "x", "y", true, "", true},
      // Editors that do not qualify are dropped without a word.
      {"/sx /oy /eC:\\Tools\\notes.txt", "x", "y", true, "", true},
      {"/sx /oy /eC:\\Tools\\dir.exe", "x", "y", true, "", true},
      {"/sx /oy /eC:\\Tools\\gone.exe", "x", "y", true, "", true},
      {"/sx /oy /e\"C:\\Tools\\my editor.EXE\"  ", "x", "y", true, "\"C:\\Tools\\my editor.EXE\"", true},
      {"/sx /oy /e\"", "x", "y", true, "", true},
      // Japanese text, with a trail byte 0x5C at its end.
      {"/s表 /oC:\\表.txt", "表", "C:\\表.txt", false, "", true},
      // Unusable: no leading slash, no text, no file path.
      {"sHello /oC:\\n.txt", "", "", false, "", false},
      {" /sHello /oC:\\n.txt", "", "", false, "", false},
      {"/sHello", "Hello", "", false, "", false},
      {"/s /oC:\\n.txt", "", "C:\\n.txt", false, "", false},
      {"/sHello /o   ", "Hello", "", false, "", false},
      {"/", "", "", false, "", false},
      {"", "", "", false, "", false},
  };
  for (const Case& c : cases) {
    const JotwellOptions options = ParseOptions(c.argumentText, disk.Kind());
    EXPECT_EQ(options.text, c.text) << c.argumentText;
    EXPECT_EQ(options.filePath, c.filePath) << c.argumentText;
    EXPECT_EQ(options.open, c.open) << c.argumentText;
    EXPECT_EQ(options.editorPath, c.editorPath) << c.argumentText;
    EXPECT_EQ(options.usable, c.usable) << c.argumentText;
  }
}
