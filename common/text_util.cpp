#include "common/text_util.h"

std::string TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string_view TrimEnd(std::string_view text, std::string_view chars) {
  const auto last = text.find_last_not_of(chars);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string TrimAtNul(std::string_view text) {
  const auto nul = text.find('\0');
  return TrimBlanks(nul == std::string_view::npos ? text : text.substr(0, nul));
}

std::string_view::size_type FindLastSjisChar(std::string_view text, char c) {
  auto found = std::string_view::npos;
  // Only a single-byte character can be c: a trail byte 0x5C is no backslash.
  for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
    if (text[i] == c && NextSjisChar(text, i) == i + 1) found = i;
  }
  return found;
}

std::string GetFileNamePart(std::string_view path) {
  const auto slash = FindLastSjisChar(path, '\\');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(slash + 1));
}

std::string GetFolderPart(std::string_view path) {
  const auto name = GetFileNamePart(path);
  return std::string(path.substr(0, path.size() - name.size()));
}

std::string GetExtensionPart(std::string_view fileName) {
  const auto dot = FindLastSjisChar(fileName, '.');
  if (dot == std::string_view::npos) return {};
  return std::string(fileName.substr(dot + 1));
}

std::string WithoutExtension(std::string_view fileName) {
  const std::string extension = GetExtensionPart(fileName);
  if (extension.empty()) return std::string(fileName);
  return std::string(fileName.substr(0, fileName.size() - extension.size() - 1));
}

std::optional<std::string> StripEnclosingQuotes(std::string_view text) {
  if (text.empty() || text.front() != '"' || text.back() != '"') return std::string(text);
  if (text.size() == 1) return std::nullopt;
  return std::string(text.substr(1, text.size() - 2));
}

namespace {
template <typename Map>
std::string MapAscii(std::string_view text, Map map) {
  std::string out(text);
  // A lead byte is no letter, so mapping the first byte of every character
  // leaves double-byte characters as they are.
  for (std::size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
    out[i] = map(static_cast<unsigned char>(out[i]));
  }
  return out;
}
}  // namespace

std::string ToUpperSjis(std::string_view text) {
  return MapAscii(text, [](unsigned char c) {
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  });
}

std::string ToLowerSjis(std::string_view text) {
  return MapAscii(text, [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
}

std::string_view::size_type FindSjis(std::string_view text, std::string_view needle,
                                     std::string_view::size_type from) {
  for (auto i = from; i < text.size(); i = NextSjisChar(text, i)) {
    if (text.compare(i, needle.size(), needle) == 0) return i;
  }
  return needle.empty() && from == text.size() ? from : std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::string_view::size_type pos = 0;
  for (;;) {
    const auto hit = FindSjis(text, from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  return FindSjis(ToUpperSjis(haystack), ToUpperSjis(needle), 0) != std::string_view::npos;
}
