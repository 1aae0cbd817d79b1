// Item validation as the program runs it on Windows: the application path is
// looked up on disk and names collide the way the file system compares them.
#include <windows.h>

#include "catalogue/program_paths.h"
#include "catalogue/validation.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class ItemValidation : public WineTest {
 protected:
  ValidationInput Launcher(const std::string& name, const std::string& path) {
    ValidationInput in;
    in.change = ItemChange::Add;
    in.nameField = name;
    in.pathField = path;
    in.contexts = {true, false, false, false};
    in.scriptFolder = UserFolder;
    return in;
  }
};

const std::string kAppMissing = "アプリケーションがみつかりません。";
const std::string kNameTaken = "この名前は登録済みです。";

}  // namespace

TEST_F(ItemValidation, ApplicationPathOnDisk) {
  const std::string app = ProgramFolder() + "アプリ 表.exe";
  ASSERT_TRUE(WriteFileBytes(app, "MZ"));
  EXPECT_TRUE(ValidateItem(Launcher("Viewer", "  " + app + " ")).passed);
  for (const std::string& path :
       {ProgramFolder(), ProgramFolder() + "missing.exe", std::string("C:\\<>.exe")}) {
    const ValidationResult result = ValidateItem(Launcher("Viewer", path));
    EXPECT_EQ(result.message, kAppMissing) << path;
    EXPECT_EQ(result.focus, FocusField::AplPath);
  }
}

TEST_F(ItemValidation, NamesCollideAsFileNamesDo) {
  const std::string app = ProgramFolder() + "app.exe";
  ASSERT_TRUE(WriteFileBytes(app, "MZ"));
  struct Case {
    std::string listed, typed;
    bool collides;
  } cases[] = {
      {"Viewer", "vIEWER", true},     {"ＡＢ", "ａｂ", true},
      {"\x83\x9F", "\x83\xBF", true},                                                  // Α and α
      {"\x95\x5C", "\x95\x5C", true},                                                  // 表
      {"\x82\x60", "A", false},  // full-width and narrow differ
      {"Viewer", "Viewer2", false},
  };
  for (const Case& c : cases) {
    ValidationInput in = Launcher(c.typed, app);
    in.itemNames = {c.listed};
    const ValidationResult result = ValidateItem(in);
    EXPECT_EQ(result.message, c.collides ? kNameTaken : "") << Utf8(c.typed);
  }
}
