#include "catalogue/settings_format.h"

#include <algorithm>

#include "common/text_util.h"
#include "common/utf.h"

std::string QuoteForProfile(std::string_view value) {
  if (value.empty()) return {};
  const char first = value.front();
  if ((first == '"' || first == '\'') && value.back() == first) {
    return "\"" + std::string(value) + "\"";
  }
  return std::string(value);
}

std::string EncodeComment(std::string_view comment) {
  return ReplaceAll(QuoteForProfile(comment), "\r\n", "\\n");
}

std::string DecodeComment(std::string_view stored) { return ReplaceAll(stored, "\\n", "\r\n"); }

std::optional<int> ParseProfileInt(const std::optional<std::string>& value, int defaultValue) {
  if (!value || value->empty()) return defaultValue;
  long long number = 0;
  for (const char c : *value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
    if (number > 32767) return std::nullopt;
  }
  return static_cast<int>(number);
}

bool IsNumericText(std::string_view text) {
  std::string_view::size_type i = 0;
  const auto digits = [&] {
    const auto start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - start;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  auto mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size();
}

namespace {

std::string TextValue(const ProfileReader& read, const std::string& key) {
  return TrimAtNul(read(key).value_or(std::string()));
}

std::optional<ItemRecord> ReadCandidate(const ProfileReader& read, int n,
                                        const RegisteredTest& isRegistered) {
  const std::string suffix = std::to_string(n);
  ItemRecord record;
  record.ItemName = TextValue(read, "ItemName" + suffix);
  if (record.ItemName.empty()) return std::nullopt;

  const auto fixedString = ParseProfileInt(read("FixedString" + suffix), 0);
  record.FixedString = fixedString == 1 ? 1 : 0;
  record.Argments = TextValue(read, "Argments" + suffix);
  record.Comment = DecodeComment(TextValue(read, "Comment" + suffix));

  if (record.FixedString == 1) {
    if (!isRegistered(record.ItemName)) return std::nullopt;
    return record;
  }

  record.AplPath = TextValue(read, "AplPath" + suffix);
  const std::string contexts = TextValue(read, "Contexts" + suffix);
  if (record.AplPath.empty() || contexts.size() != 4 || !IsNumericText(contexts)) return std::nullopt;
  for (int i = 0; i < 4; ++i) record.Contexts[i] = contexts[i] == '1' ? 1 : 0;

  const auto windowStyle = ParseProfileInt(read("WindowStyle" + suffix), 1);
  record.WindowStyle = static_cast<int16_t>(windowStyle && *windowStyle <= 3 ? *windowStyle : 1);
  const auto confCmdLine = ParseProfileInt(read("ConfCmdLine" + suffix), 0);
  record.ConfCmdLine = confCmdLine == 1 ? 1 : 0;

  if (!isRegistered(record.ItemName)) return std::nullopt;
  return record;
}

}  // namespace

std::vector<ItemRecord> ReadCatalogue(const ProfileReader& read, int itemCount,
                                      const RegisteredTest& isRegistered) {
  std::vector<ItemRecord> records;
  for (int n = 1; n <= itemCount; ++n) {
    if (auto record = ReadCandidate(read, n, isRegistered)) records.push_back(std::move(*record));
  }
  return records;
}

std::vector<std::pair<std::string, std::string>> CatalogueEntries(const std::vector<ItemRecord>& records) {
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(1 + records.size() * 8);
  entries.emplace_back("ItemCount", std::to_string(records.size()));
  int n = 0;
  for (const ItemRecord& r : records) {
    const std::string suffix = std::to_string(++n);
    // Names are quoted like the texts: a name that starts and ends with
    // the same quote would otherwise lose those quotes on the way back, and
    // with them its registry key and script file.
    entries.emplace_back("ItemName" + suffix, QuoteForProfile(r.ItemName));
    entries.emplace_back("FixedString" + suffix, std::to_string(r.FixedString));
    entries.emplace_back("Argments" + suffix, QuoteForProfile(r.Argments));
    entries.emplace_back("Comment" + suffix, EncodeComment(r.Comment));
    if (r.FixedString != 0) continue;
    entries.emplace_back("AplPath" + suffix, r.AplPath);
    std::string contexts;
    for (const int16_t flag : r.Contexts) contexts += std::to_string(flag);
    entries.emplace_back("Contexts" + suffix, contexts);
    entries.emplace_back("WindowStyle" + suffix, std::to_string(r.WindowStyle));
    entries.emplace_back("ConfCmdLine" + suffix, std::to_string(r.ConfCmdLine));
  }
  return entries;
}

namespace {

std::string_view TrimProfileSpace(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string> SectionNameOf(std::string_view line) {
  line = TrimProfileSpace(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return ToUpperSjis(TrimProfileSpace(line.substr(1, close - 1)));
}

}  // namespace

std::optional<std::map<std::string, std::string>> IniSectionValues(std::string_view fileText,
                                                                   std::string_view section) {
  const std::string wanted = ToUpperSjis(TrimProfileSpace(section));
  std::optional<std::map<std::string, std::string>> values;
  std::string_view::size_type start = 0;
  while (start < fileText.size()) {
    auto end = fileText.find('\n', start);
    if (end == std::string_view::npos) end = fileText.size();
    std::string_view line = fileText.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const auto name = SectionNameOf(line)) {
      // Only the first section of the name counts, as for the profile reader.
      if (values) break;
      if (*name == wanted) values.emplace();
      continue;
    }
    if (!values) continue;
    line = TrimProfileSpace(line);
    if (line.empty()) continue;
    const auto equals = line.find('=');
    const std::string key = ToUpperSjis(TrimProfileSpace(line.substr(0, equals)));
    std::string_view value =
        equals == std::string_view::npos ? std::string_view() : TrimProfileSpace(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    values->emplace(key, std::string(value));  // the first occurrence wins
  }
  return values;
}

int HighestItemNumber(const std::map<std::string, std::string>& values) {
  int highest = 0;
  for (const auto& entry : values) {
    const std::string& key = entry.first;
    if (key.rfind("ITEMNAME", 0) != 0 || key.size() == 8 || key.size() > 13) continue;
    const std::string digits = key.substr(8);
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    highest = std::max(highest, std::stoi(digits));
  }
  return highest;
}

ProfileReader SectionReader(const std::map<std::string, std::string>& values) {
  return [&values](const std::string& key) -> std::optional<std::string> {
    const auto found = values.find(ToUpperSjis(key));
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

bool HasByteOrderMark(std::string_view bytes) {
  return bytes.substr(0, 3) == "\xEF\xBB\xBF" || bytes.substr(0, 2) == "\xFF\xFE" ||
         bytes.substr(0, 2) == "\xFE\xFF";
}

std::vector<ItemRecord> ReadCatalogueText(std::string_view fileText, const RegisteredTest& isRegistered,
                                          const NameLess& less) {
  const auto values = IniSectionValues(fileText, kItemListSection);
  if (!values) return {};
  const ProfileReader read = SectionReader(*values);
  // A count beyond the 16-bit range is not trusted; the keys present decide.
  const int count = ParseProfileInt(read("ItemCount"), 0).value_or(32767);
  std::vector<ItemRecord> records =
      ReadCatalogue(read, std::min(count, HighestItemNumber(*values)), isRegistered);
  if (records.size() > 1) SortItems(records, 0, static_cast<int>(records.size()) - 1, less);
  return records;
}

std::string SettingsTextFromBytes(std::string_view bytes, const ToCodePage932& toCodePage932, bool* exact) {
  *exact = true;
  if (!HasByteOrderMark(bytes)) return std::string(bytes);
  std::u16string wide;
  if (bytes[0] == '\xEF') {
    const std::string_view utf8 = bytes.substr(3);
    if (!IsValidUtf8(utf8)) *exact = false;
    wide = Utf8ToUtf16(utf8);
  } else {
    const bool little = bytes[0] == '\xFF';
    if (bytes.size() % 2 != 0) *exact = false;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]),
                 second = static_cast<unsigned char>(bytes[i + 1]);
      wide += static_cast<char16_t>(little ? first | second << 8 : first << 8 | second);
    }
  }
  return toCodePage932(wide, exact);
}

std::string ReplaceIniSection(std::string_view fileText, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string replacement = "[" + std::string(section) + "]\r\n";
  for (const auto& [key, value] : entries) replacement += key + "=" + value + "\r\n";

  const std::string wanted = ToUpperSjis(section);
  std::string out;
  out.reserve(fileText.size() + replacement.size());
  bool inTarget = false, replaced = false;
  std::string_view::size_type start = 0;
  while (start < fileText.size()) {
    auto end = fileText.find('\n', start);
    end = end == std::string_view::npos ? fileText.size() : end + 1;
    const std::string_view line = fileText.substr(start, end - start);
    start = end;
    if (const auto name = SectionNameOf(line)) {
      inTarget = !replaced && *name == wanted;
      if (inTarget) {
        out += replacement;
        replaced = true;
        continue;
      }
    }
    if (inTarget) continue;
    out.append(line);
  }
  if (!replaced) {
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += replacement;
  }
  return out;
}
