#include "bridge/host/cmd_reading.h"

#include <algorithm>

namespace {

bool IsOneOf(char16_t c, std::u16string_view set) { return set.find(c) != std::u16string_view::npos; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// The text with the characters at the given positions left out.
MarkedText Without(const MarkedText& text, std::size_t from, const std::vector<std::size_t>& removed) {
  MarkedText out;
  for (std::size_t i = from; i < text.text.size(); ++i) {
    if (std::find(removed.begin(), removed.end(), i) == removed.end()) out.Append(text.text[i], text.page[i]);
  }
  return out;
}

bool ContainsWordNoCase(std::u16string_view text, std::u16string_view lowerWord) {
  const auto isWordChar = [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
  };
  for (std::size_t i = 0; i + lowerWord.size() <= text.size(); ++i) {
    bool same = true;
    for (std::size_t k = 0; k < lowerWord.size() && same; ++k) same = Lower(text[i + k]) == lowerWord[k];
    if (!same) continue;
    const bool before = i == 0 || !isWordChar(text[i - 1]);
    const bool after = i + lowerWord.size() == text.size() || !isWordChar(text[i + lowerWord.size()]);
    if (before && after) return true;
  }
  return false;
}

// The argument with its enclosing quotes removed, as %~1 gives it.
MarkedText Unquoted(const MarkedText& argument) {
  MarkedText out = argument;
  if (!out.text.empty() && out.text.front() == u'"') {
    out.text.erase(0, 1);
    out.page.erase(out.page.begin());
    if (!out.text.empty() && out.text.back() == u'"') {
      out.text.pop_back();
      out.page.pop_back();
    }
  }
  return out;
}

// The line with every argument reference put in; shift moves %1 … %9 on by
// that many arguments, as SHIFT would.
MarkedText PutArgumentsIn(std::u16string_view line, const std::vector<MarkedText>& arguments,
                          const MarkedText& all, std::size_t shift, bool* usesArguments) {
  MarkedText out;
  const auto argument = [&](std::size_t n) {
    const std::size_t index = n - 1 + shift;
    return index < arguments.size() ? arguments[index] : MarkedText();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != u'%' || i + 1 >= line.size()) {
      out.Append(line[i], false);
      continue;
    }
    const char16_t next = line[i + 1];
    if (next == u'%') {  // an escaped percent sign: stays one
      out.Append(u"%%", false);
      ++i;
    } else if (next == u'*') {
      out.Append(all);
      *usesArguments = true;
      ++i;
    } else if (next >= u'0' && next <= u'9') {
      // %0 is the batch file's own name, the template's.
      if (next == u'0') {
        out.Append(u'0', false);
      } else {
        out.Append(argument(next - u'0'));
        *usesArguments = true;
      }
      ++i;
    } else if (next == u'~') {
      // %~[fdpnxsatz]…[$name:]N: the argument without its quotes, or a path
      // made of it; the page's characters stay in it either way.
      std::size_t k = i + 2;
      while (k < line.size() && IsOneOf(Lower(line[k]), u"fdpnxsatz")) ++k;
      if (k < line.size() && line[k] == u'$') {
        const std::size_t colon = line.find(u':', k);
        k = colon == std::u16string_view::npos ? line.size() : colon + 1;
      }
      if (k < line.size() && line[k] >= u'0' && line[k] <= u'9') {
        if (line[k] == u'0') {
          out.Append(u'0', false);
        } else {
          out.Append(Unquoted(argument(line[k] - u'0')));
          *usesArguments = true;
        }
        i = k;
      } else {
        out.Append(line[i], false);
      }
    } else {
      out.Append(line[i], false);
    }
  }
  return out;
}

}  // namespace

CmdCommands ReadCmdCommand(const MarkedText& afterName) {
  const std::u16string& t = afterName.text;
  CmdCommands out;
  bool s = false;
  std::size_t start = std::u16string::npos;
  for (std::size_t i = 0; i < t.size();) {
    if (t[i] == u'/' && i + 1 < t.size()) {
      const char16_t letter = Lower(t[i + 1]);
      if (letter == u'c' || letter == u'k' || letter == u'r') {
        start = i + 2;
        break;
      }
      if (letter == u's') s = true;
      i += 2;
      continue;
    }
    ++i;
  }
  out.pageInSwitches = afterName.AnyPage(0, start == std::u16string::npos ? t.size() : start);
  if (start == std::u16string::npos) return out;
  while (start < t.size() && (t[start] == u' ' || t[start] == u'\t')) ++start;

  std::vector<std::size_t> quotes;
  for (std::size_t i = start; i < t.size(); ++i) {
    if (t[i] == u'"') quotes.push_back(i);
  }
  bool keepPossible = !s && quotes.size() == 2;
  if (keepPossible) {
    const std::u16string_view between =
        std::u16string_view(t).substr(quotes[0] + 1, quotes[1] - quotes[0] - 1);
    keepPossible = between.find_first_of(u"&<>()@^|") == std::u16string_view::npos &&
                   between.find_first_of(u" \t") != std::u16string_view::npos;
  }
  const bool startsWithQuote = start < t.size() && t[start] == u'"';
  const MarkedText asWritten = Without(afterName, start, {});
  const MarkedText stripped = startsWithQuote ? Without(afterName, start, {start, quotes.back()}) : asWritten;
  // Whether the text between the two quotes names an executable file is the
  // disk's to say: both readings must be safe then.
  if (keepPossible) out.commands.push_back(asWritten);
  if (!keepPossible || startsWithQuote) out.commands.push_back(stripped);
  return out;
}

bool CmdTakesPageAsText(const MarkedText& command, bool separatorsToo) {
  bool quoted = false, escaped = false, inPercent = false, inExclamation = false;
  for (std::size_t i = 0; i < command.text.size(); ++i) {
    const char16_t c = command.text[i];
    if (command.page[i]) {
      if (IsOneOf(c, u"\"%!^\r\n")) return false;
      if (inPercent || inExclamation) return false;
      const bool acts = IsOneOf(c, kCmdOperators) || (separatorsToo && IsOneOf(c, kBatchSeparators));
      if (acts && (!quoted || escaped)) return false;
      escaped = false;
      continue;
    }
    if (escaped) {
      escaped = false;
    } else if (c == u'%') {
      inPercent = !inPercent;
    } else if (c == u'!') {
      inExclamation = !inExclamation;
    } else if (c == u'^' && !quoted) {
      escaped = true;
    } else if (c == u'"') {
      quoted = !quoted;
    }
  }
  return true;
}

CmdWords SplitCmdName(const MarkedText& command) {
  std::size_t i = 0;
  while (i < command.text.size() && IsOneOf(command.text[i], kBatchSeparators)) ++i;
  CmdWords words;
  bool quoted = false;
  for (; i < command.text.size(); ++i) {
    const char16_t c = command.text[i];
    if (!quoted && (IsOneOf(c, kBatchSeparators) || IsOneOf(c, kCmdOperators))) break;
    if (c == u'"') quoted = !quoted;
    words.name.Append(c, command.page[i]);
  }
  for (; i < command.text.size(); ++i) words.arguments.Append(command.text[i], command.page[i]);
  return words;
}

std::vector<MarkedText> SplitBatchArguments(const MarkedText& arguments) {
  std::vector<MarkedText> out;
  bool quoted = false, inArgument = false;
  for (std::size_t i = 0; i < arguments.text.size(); ++i) {
    const char16_t c = arguments.text[i];
    if (!quoted && IsOneOf(c, kBatchSeparators)) {
      inArgument = false;
      continue;
    }
    if (!inArgument) out.emplace_back();
    inArgument = true;
    if (c == u'"') quoted = !quoted;
    out.back().Append(c, arguments.page[i]);
  }
  return out;
}

bool BatchFileTakesPageAsText(std::u16string_view fileText, const MarkedText& arguments) {
  const std::vector<MarkedText> split = SplitBatchArguments(arguments);
  std::size_t first = 0;
  while (first < arguments.text.size() && IsOneOf(arguments.text[first], kBatchSeparators)) ++first;
  MarkedText all;
  for (std::size_t i = first; i < arguments.text.size(); ++i)
    all.Append(arguments.text[i], arguments.page[i]);
  const std::size_t shifts = ContainsWordNoCase(fileText, u"shift") ? split.size() : 0;
  std::size_t lineStart = 0;
  while (lineStart <= fileText.size()) {
    std::size_t lineEnd = fileText.find(u'\n', lineStart);
    if (lineEnd == std::u16string_view::npos) lineEnd = fileText.size();
    std::u16string_view line = fileText.substr(lineStart, lineEnd - lineStart);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    for (std::size_t shift = 0; shift <= shifts; ++shift) {
      bool usesArguments = false;
      const MarkedText read = PutArgumentsIn(line, split, all, shift, &usesArguments);
      if (!usesArguments) break;
      if (!CmdTakesPageAsText(read, false)) return false;
    }
    lineStart = lineEnd + 1;
  }
  return true;
}
