#include "catalogue/item_transfer.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "catalogue/validation.h"
#include "common/sjis_chars.h"
#include "common/text_util.h"
#include "common/utf.h"

std::string DefaultExportFileName(int year, int month, int day) {
  char date[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d", year % 10000, month % 100, day % 100);
  return std::string("Orbisk-items-") + date + ".ini";
}

std::string ExportFileText(const std::vector<ItemRecord>& records) {
  return ReplaceIniSection("", kItemListSection, CatalogueEntries(records));
}

bool IsShiftJisText(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20) {
      if (c != '\t' && c != '\r' && c != '\n') return false;
    } else if (c == 0x7F || c == 0x80 || c == 0xA0 || c >= 0xFD) {
      return false;
    } else if (IsSjisLeadByte(c)) {
      if (++i == text.size()) return false;
      const auto trail = static_cast<unsigned char>(text[i]);
      if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
    }
  }
  return true;
}

std::string FreeItemName(const std::string& name, const std::vector<std::string>& taken,
                         const NameComparator& same) {
  const auto isTaken = [&](const std::string& candidate) {
    for (const std::string& other : taken) {
      if (same(candidate, other)) return true;
    }
    return false;
  };
  if (!isTaken(name)) return name;
  for (int n = 2;; ++n) {
    const std::string candidate = name + " (" + std::to_string(n) + ")";
    if (!isTaken(candidate)) return candidate;
  }
}

namespace {

constexpr char kNotText[] = "テキストのファイルではありません。";
constexpr char kNotShiftJis[] = "Shift_JIS で表せない文字が含まれています。";
constexpr char kNoItemList[] = "Orbisk の項目のファイルではありません（[ItemList] がありません）。";
constexpr char kBadCount[] = "項目の数 (ItemCount) がないか、正しくありません。";

// The text of the file in code page 932, or why there is none.
bool DecodeItemFile(std::string_view bytes, const ToCodePage932& toCodePage932, std::string* text,
                    std::string* problem) {
  bool exact = true;
  if (HasByteOrderMark(bytes)) {
    *text = SettingsTextFromBytes(bytes, toCodePage932, &exact);
  } else if (IsValidUtf8(bytes)) {
    // Saved by an editor as UTF-8 without a mark, or plain ASCII. Japanese in
    // UTF-8 is often valid Shift_JIS as well (メモ帳, あいさつ), so that test
    // cannot decide; but Shift_JIS text is hardly ever valid UTF-8, whose
    // sequences its kana and most kanji never begin: only half-width kana
    // pairs may pass for accented letters (ﾃｼ for ü). A name such as Müller
    // is far likelier than Mﾃｼller: a reading as UTF-8 that gives characters
    // code page 932 lacks is refused, as with a mark, instead of imported as
    // half-width kana.
    *text = toCodePage932(Utf8ToUtf16(bytes), &exact);
  } else if (IsShiftJisText(bytes)) {
    *text = std::string(bytes);
  } else {
    *problem = kNotText;
    return false;
  }
  if (!exact) {
    *problem = kNotShiftJis;
    return false;
  }
  if (!IsShiftJisText(*text)) {
    *problem = kNotText;
    return false;
  }
  return true;
}

// "項目 3「name」" for messages about one item.
std::string ItemLabel(int n, const std::string& name) {
  std::string label = "項目 " + std::to_string(n);
  if (!name.empty()) label += "「" + name + "」";
  return label;
}

bool IsDigits(std::string_view text, std::size_t maxLength) {
  return !text.empty() && text.size() <= maxLength &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

// The edit dialog's checks of a new item, against no listed name, so that
// the messages are the same: above all those of the name, which protect what
// it becomes (a menu text, a registry key and a file name).
std::string CheckFields(const ItemRecord& record, int n, const std::string& scriptFolder) {
  ValidationInput input;
  input.change = ItemChange::Add;
  input.nameField = record.ItemName;
  input.parameterField = record.Argments;
  // A path is checked item by item, once its variables are replaced; only a
  // path of blanks is the file's own fault.
  input.pathField = record.AplPath.empty() ? "" : "x";
  input.fixedString = record.FixedString != 0;
  input.contexts = {true, true, true, true};
  input.scriptFolder = scriptFolder;
  const ValidationResult result = ValidateItem(input, [](const std::string&) { return PathKind::File; });
  if (result.passed) return {};
  return ItemLabel(n, record.ItemName) + ": " + result.message;
}

// The checks of one item's values, before they are read as a record.
std::string CheckItemValues(const std::map<std::string, std::string>& values, int n,
                            const std::string& scriptFolder) {
  const std::string suffix = std::to_string(n);
  const auto value = [&](const char* key) -> const std::string* {
    const auto found = values.find(ToUpperSjis(key + suffix));
    return found == values.end() ? nullptr : &found->second;
  };
  const std::string* name = value("ItemName");
  if (!name) return ItemLabel(n, "") + " がありません。ファイルが途中で切れているおそれがあります。";
  // A name of blanks is there but empty: the dialog's message for an empty
  // name says so, where the reader would drop the item without a word.
  if (TrimAtNul(*name).empty()) return CheckFields(ItemRecord{}, n, scriptFolder);
  const std::string label = ItemLabel(n, TrimAtNul(*name));
  for (const char* key : {"ItemName", "FixedString", "Argments", "Comment", "AplPath", "Contexts",
                          "WindowStyle", "ConfCmdLine"}) {
    const std::string* text = value(key);
    if (text && text->size() > kMaxFieldBytes) {
      return label + "の " + key + suffix + " が長すぎます（" + std::to_string(kMaxFieldBytes) +
             " バイトまで）。";
    }
  }
  const auto flag = [&](const char* key, const char* allowed) -> std::string {
    const std::string* text = value(key);
    if (!text ||
        (text->size() == 1 && std::string_view(allowed).find((*text)[0]) != std::string_view::npos)) {
      return {};
    }
    return label + "の " + key + suffix + " が正しくありません。";
  };
  for (const auto& [key, allowed] :
       {std::pair{"FixedString", "01"}, std::pair{"ConfCmdLine", "01"}, std::pair{"WindowStyle", "0123"}}) {
    if (std::string problem = flag(key, allowed); !problem.empty()) return problem;
  }
  const std::string* fixed = value("FixedString");
  if (fixed && *fixed == "1") return {};
  const std::string* path = value("AplPath");
  if (!path) {
    return label + "にアプリケーションのパス (AplPath" + suffix +
           ") がありません。ファイルが途中で切れているおそれがあります。";
  }
  if (TrimAtNul(*path).empty()) {
    // There but empty: the dialog's message for an empty path.
    ItemRecord blankPath;
    blankPath.ItemName = TrimAtNul(*name);
    if (const std::string* parameter = value("Argments")) blankPath.Argments = *parameter;
    return CheckFields(blankPath, n, scriptFolder);
  }
  const std::string* contexts = value("Contexts");
  if (!contexts || contexts->size() != 4 || contexts->find_first_not_of("01") != std::string::npos) {
    return label + "の表示方法 (Contexts" + suffix + ") が正しくありません。";
  }
  return {};
}

// The last line of a text that does not end in a line break, when it is
// neither key=value nor a section name: where a copy or a download stopped
// inside a key. The reader would take it as a key of its own and the item's
// real key as missing, whose default then stands in silently (a lost
// ConfCmdLine=1 starts the program instead of showing its command line).
// "" when the text ends otherwise.
std::string CutLastLine(std::string_view text) {
  if (text.empty() || text.back() == '\n' || text.back() == '\r') return {};
  const auto start = text.find_last_of("\r\n");
  const std::string line = TrimBlanks(text.substr(start == std::string_view::npos ? 0 : start + 1));
  if (line.empty() || line.front() == '[' || line.find('=') != std::string::npos) return {};
  return line;
}

}  // namespace

ItemFile ReadItemFile(std::string_view bytes, const ToCodePage932& toCodePage932,
                      const std::string& scriptFolder, const NameComparator& same) {
  ItemFile file;
  std::string text;
  if (!DecodeItemFile(bytes, toCodePage932, &text, &file.problem)) return file;
  if (const std::string cut = CutLastLine(text); !cut.empty()) {
    file.problem =
        "最後の行「" + cut + "」は値の行ではありません。ファイルが途中で切れているおそれがあります。";
    return file;
  }
  const auto values = IniSectionValues(text, kItemListSection);
  if (!values) {
    file.problem = kNoItemList;
    return file;
  }
  const auto count = values->find("ITEMCOUNT");
  if (count == values->end() || !IsDigits(count->second, 5) || std::stoi(count->second) > 32767) {
    file.problem = kBadCount;
    return file;
  }
  const int itemCount = std::stoi(count->second);
  if (HighestItemNumber(*values) > itemCount) {
    file.problem = "項目の数 (ItemCount=" + count->second + ") より多くの項目があります。";
    return file;
  }
  for (int n = 1; n <= itemCount; ++n) {
    file.problem = CheckItemValues(*values, n, scriptFolder);
    if (!file.problem.empty()) return file;
  }
  std::vector<ItemRecord> records =
      ReadCatalogue(SectionReader(*values), itemCount, [](const std::string&) { return true; });
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    file.problem = CheckFields(records[i], n, scriptFolder);
    for (std::size_t j = 0; file.problem.empty() && j < i; ++j) {
      if (same(records[j].ItemName, records[i].ItemName)) {
        file.problem = "項目名「" + records[i].ItemName + "」がファイルの中に 2 度あります。";
      }
    }
    if (!file.problem.empty()) return file;
  }
  file.records = std::move(records);
  return file;
}

namespace {

std::string Count(std::size_t n) { return std::to_string(n) + " 件"; }

}  // namespace

std::string ImportSummaryText(const ImportReport& report) {
  std::string text = "インポートが終わりました。\r\n\r\n追加: " + Count(report.added.size()) +
                     "\r\n置き換え: " + Count(report.replaced.size()) +
                     "\r\nスキップ: " + Count(report.skipped.size()) +
                     "\r\n登録できなかった項目: " + Count(report.refused.size());
  if (report.refused.empty()) return text;
  text += "\r\n\r\n登録できなかった項目と理由:";
  // A long list would push the box's button off the screen.
  constexpr std::size_t kShown = 10;
  for (std::size_t i = 0; i < report.refused.size() && i < kShown; ++i) {
    text += "\r\n・" + report.refused[i].first + ": " + report.refused[i].second;
  }
  if (report.refused.size() > kShown) text += "\r\n…ほか " + Count(report.refused.size() - kShown);
  return text;
}

std::string ImportLogText(const ImportReport& report) {
  std::string text;
  for (const std::string& name : report.added) text += "追加: " + name + "\r\n";
  for (const std::string& name : report.replaced) text += "置き換え: " + name + "\r\n";
  for (const std::string& name : report.skipped) text += "スキップ（登録済み）: " + name + "\r\n";
  for (const auto& [name, reason] : report.refused) text += "登録できず: " + name + ": " + reason + "\r\n";
  text += "インポート: 追加 " + Count(report.added.size()) + "、置き換え " + Count(report.replaced.size()) +
          "、スキップ " + Count(report.skipped.size()) + "、登録できず " + Count(report.refused.size()) +
          "\r\n";
  return text;
}

std::string ImportRefusedLogLine(const std::string& reason) {
  return "インポートできません: " + reason + "\r\n";
}
