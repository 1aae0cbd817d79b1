#include "bridge/host/windows_arguments.h"

void ArgumentReader::EndQuoteRun() {
  if (!inQuoteRun_) return;
  inQuoteRun_ = false;
  if (quotes_ == 2) quotes_ = 0;
}

bool ArgumentReader::Read(char16_t c) {
  if (c != u'"') EndQuoteRun();
  if ((c == u' ' || c == u'\t') && quotes_ == 0) {
    if (inArgument_) arguments_.push_back(std::move(current_));
    current_.clear();
    inArgument_ = false;
    backslashes_ = 0;
    return false;
  }
  inArgument_ = true;
  if (c != u'"') {
    current_ += c;
    backslashes_ = c == u'\\' ? backslashes_ + 1 : 0;
    return true;
  }
  if (inQuoteRun_) {
    if (++quotes_ == 3) {
      current_ += u'"';
      quotes_ = 0;
    }
    return true;
  }
  if (backslashes_ % 2 == 0) {
    current_.resize(current_.size() - backslashes_ / 2);
    ++quotes_;
  } else {
    current_.resize(current_.size() - backslashes_ / 2 - 1);
    current_ += u'"';
  }
  backslashes_ = 0;
  inQuoteRun_ = true;
  return true;
}

void ArgumentReader::ReadData(std::u16string_view data) {
  EndQuoteRun();
  inArgument_ = true;
  current_ += data;
  backslashes_ = 0;
}

std::vector<std::u16string> ArgumentReader::Finish(bool* endsInQuotes) {
  EndQuoteRun();
  if (inArgument_) arguments_.push_back(std::move(current_));
  current_.clear();
  inArgument_ = false;
  if (endsInQuotes) *endsInQuotes = quotes_ != 0;
  return std::move(arguments_);
}

std::vector<std::u16string> SplitArguments(std::u16string_view text, bool* endsInQuotes) {
  ArgumentReader reader;
  for (const char16_t c : text) reader.Read(c);
  return reader.Finish(endsInQuotes);
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

namespace {

// One reading of a C runtime's argument loop (parse_cmdline), for UTF-16 or
// for the bytes of a code page; isLead tells a double-byte character's
// first byte.
template <typename Char, typename IsLead>
std::vector<std::basic_string<Char>> SplitCrt(std::basic_string_view<Char> text, QuoteRuns rule,
                                              const IsLead& isLead) {
  std::vector<std::basic_string<Char>> arguments;
  std::size_t p = 0;
  bool inQuotes = false;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : Char(0); };
  for (;;) {
    while (at(p) == Char(' ') || at(p) == Char('\t')) ++p;
    if (p >= text.size()) break;
    std::basic_string<Char> argument;
    for (;;) {
      bool copy = true;
      std::size_t backslashes = 0;
      while (at(p) == Char('\\')) {
        ++p;
        ++backslashes;
      }
      if (at(p) == Char('"')) {
        if (backslashes % 2 == 0) {
          const bool doubled = inQuotes && at(p + 1) == Char('"');
          if (doubled) {
            ++p;  // the second quote of the pair is copied
            if (rule == QuoteRuns::Old) inQuotes = false;
          } else {
            copy = false;
            inQuotes = !inQuotes;
          }
        }
        backslashes /= 2;
      }
      argument.append(backslashes, Char('\\'));
      if (p >= text.size() || (!inQuotes && (at(p) == Char(' ') || at(p) == Char('\t')))) break;
      if (copy) {
        if (isLead(text[p]) && p + 1 < text.size()) argument += text[p++];
        argument += text[p];
      }
      ++p;
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

std::vector<std::u16string> SplitCrtArguments(std::u16string_view text, QuoteRuns rule) {
  return SplitCrt(text, rule, [](char16_t) { return false; });
}

std::vector<std::string> SplitCrtArguments(std::string_view text, QuoteRuns rule,
                                           const std::function<bool(unsigned char)>& isLeadByte) {
  return SplitCrt(text, rule, [&isLeadByte](char c) { return isLeadByte(static_cast<unsigned char>(c)); });
}

std::optional<std::u16string> QuoteArgumentForEveryReading(
    std::u16string_view argument, const std::function<bool(char16_t)>& becomesBackslash,
    const std::function<bool(char16_t)>& becomesQuote) {
  const auto backslashLike = [&](char16_t c) { return c == u'\\' || becomesBackslash(c); };
  // The run of backslashes and their look-alikes at the end.
  std::size_t tail = argument.size();
  while (tail > 0 && backslashLike(argument[tail - 1])) --tail;
  bool lookAlikeAtEnd = false;
  for (std::size_t i = tail; i < argument.size(); ++i) lookAlikeAtEnd |= argument[i] != u'\\';
  const std::u16string_view body = lookAlikeAtEnd ? argument.substr(0, tail) : argument;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (becomesQuote(body[i])) return std::nullopt;
    if (body[i] != u'"') continue;
    for (std::size_t k = i; k > 0 && backslashLike(body[k - 1]); --k) {
      if (body[k - 1] != u'\\') return std::nullopt;
    }
  }
  for (std::size_t i = tail; i < argument.size(); ++i) {
    if (becomesQuote(argument[i])) return std::nullopt;
  }
  std::u16string quoted = QuoteArgument(body);
  if (lookAlikeAtEnd) quoted += argument.substr(tail);
  return quoted;
}
