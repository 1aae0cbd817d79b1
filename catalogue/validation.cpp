#include "catalogue/validation.h"

#include "common/file_names.h"
#include "common/text_util.h"

#ifdef _WIN32
#include "catalogue/menu_registration.h"
#endif

namespace {

ValidationResult Fail(const char* message, FocusField focus) { return {false, message, focus}; }

}  // namespace

bool HasControlChars(std::string_view text) { return text.find_first_of("\n\r\t") != std::string_view::npos; }

bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return ToUpperSjis(a) == ToUpperSjis(b);
}

ValidationResult ValidateItem(const ValidationInput& in, const PathKindReader& pathKind,
                              const NameComparator& sameName) {
  const std::string name = TrimBlanks(in.nameField);
  const std::string path = TrimBlanks(in.pathField);
  const bool addOrRename = in.change == ItemChange::Add || in.change == ItemChange::Rename;

  if (addOrRename && name.empty()) return Fail("項目名が入力されていません。", FocusField::ItemName);
  if (in.change == ItemChange::Rename && name == in.storedName) {
    return Fail("項目名が変更されていません。", FocusField::ItemName);
  }
  if (HasForbiddenNameChar(name)) {
    return Fail("項目名に \\ / : * ? \" < > | は使用できません。", FocusField::ItemName);
  }
  if (HasControlChars(name)) {
    return Fail("項目名に不正な文字（改行コード等）が含まれています。", FocusField::ItemName);
  }
  if (IsReservedDeviceName(name)) {
    return Fail("この名前は予約デバイス名のため、使用できません。", FocusField::ItemName);
  }
  // The script file's path, with ".html", must fit in 255 bytes.
  if (in.scriptFolder.size() + name.size() + 5 > 255) {
    return Fail("項目名が長すぎます。", FocusField::ItemName);
  }
  if (addOrRename) {
    // Names that differ only in letter case share one key and file. The item
    // being renamed is the exception: it gives its key and file up, so it may
    // take a name that differs from its own in letter case only (the check
    // before has made sure the name does differ).
    for (const std::string& listed : in.itemNames) {
      if (in.change == ItemChange::Rename && listed == in.storedName) continue;
      if (sameName(name, listed)) return Fail("この名前は登録済みです。", FocusField::ItemName);
    }
  }
  if (HasControlChars(in.parameterField)) {
    return Fail("パラメータに不正な文字（改行コード等）が含まれています。", FocusField::Argments);
  }
  if (in.fixedString) {
    if (TrimBlanks(in.parameterField).empty()) {
      return Fail("パラメータが入力されていません。", FocusField::Argments);
    }
    return {};
  }
  if (path.empty()) return Fail("アプリケーションのパスが入力されていません。", FocusField::AplPath);
  if (HasControlChars(path)) {
    return Fail("アプリケーションのパスに不正な文字（改行コード等）が含まれています。", FocusField::AplPath);
  }
  if (pathKind(path) != PathKind::File) {
    return Fail("アプリケーションがみつかりません。", FocusField::AplPath);
  }
  if (!in.contexts[0] && !in.contexts[1] && !in.contexts[2] && !in.contexts[3]) {
    return Fail("表示方法がひとつもチェックされていません。", FocusField::FirstContext);
  }
  return {};
}

#ifdef _WIN32
ValidationResult ValidateItem(const ValidationInput& input) {
  return ValidateItem(input, GetPathKind, SameStorageName);
}
#endif  // _WIN32
