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
