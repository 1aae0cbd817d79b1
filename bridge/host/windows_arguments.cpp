#include "bridge/host/windows_arguments.h"

std::vector<std::u16string> SplitArguments(std::u16string_view text, bool* endsInQuotes) {
  std::vector<std::u16string> arguments;
  std::u16string current;
  bool inArgument = false;
  std::size_t backslashes = 0;
  int quotes = 0;  // 1 inside a quoted part; counts a run of quotes to three
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if ((c == u' ' || c == u'\t') && quotes == 0) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
      backslashes = 0;
      ++i;
    } else if (c == u'\\') {
      current += c;
      ++backslashes;
      inArgument = true;
      ++i;
    } else if (c == u'"') {
      inArgument = true;
      if (backslashes % 2 == 0) {
        current.resize(current.size() - backslashes / 2);
        ++quotes;
      } else {
        current.resize(current.size() - backslashes / 2 - 1);
        current += u'"';
      }
      backslashes = 0;
      for (++i; i < text.size() && text[i] == u'"'; ++i) {
        if (++quotes == 3) {
          current += u'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      current += c;
      backslashes = 0;
      inArgument = true;
      ++i;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  if (endsInQuotes) *endsInQuotes = quotes != 0;
  return arguments;
}

std::u16string QuoteArgument(std::u16string_view argument) {
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes only count before a quote: there they are doubled, and
    // one more escapes the quote itself.
    if (c == u'"') {
      quoted.append(backslashes * 2 + 1, u'\\');
    } else {
      quoted.append(backslashes, u'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, u'\\');
  quoted += u'"';
  return quoted;
}
