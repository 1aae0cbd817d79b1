#include "catalogue/settings_format.h"

#include "common/text_util.h"

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

std::map<std::string, std::string> ParseSectionBlock(std::string_view block) {
  std::map<std::string, std::string> values;
  std::string_view::size_type start = 0;
  while (start < block.size()) {
    auto end = block.find('\0', start);
    if (end == std::string_view::npos) end = block.size();
    const std::string_view line = block.substr(start, end - start);
    start = end + 1;
    if (line.empty()) break;
    const auto equals = line.find('=');
    const std::string key = ToUpperSjis(TrimProfileSpace(line.substr(0, equals)));
    std::string_view value =
        equals == std::string_view::npos ? std::string_view() : TrimProfileSpace(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    values.emplace(key, std::string(value));  // the first occurrence wins
  }
  return values;
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
