// How a Windows program splits the text after its name into arguments
// (CommandLineToArgvW, and the C runtime's start-up code for the cases the
// host produces), and how one argument is written so that it survives that
// split whole.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the arguments of the text after a program's name, one character at
// a time: blanks and tabs outside double quotes separate them; 2n
// backslashes and a quote give n backslashes and open or close the quoted
// part, 2n+1 give n and a literal quote; in a run of quotes every third one
// is literal. Text that is no syntax at all can be read whole as data.
class ArgumentReader {
 public:
  // Reads one character; false when it is a blank between arguments.
  bool Read(char16_t c);
  // Reads text as data of the current argument (starting one if needed),
  // whatever it holds; an empty text still makes its argument.
  void ReadData(std::u16string_view data);
  // True while a quoted part is open.
  bool InQuotes() const { return quotes_ == 1; }
  // The length of the argument read so far.
  std::size_t CurrentSize() const { return current_.size(); }
  // The arguments read; *endsInQuotes tells whether a quoted part was left
  // open at the end.
  std::vector<std::u16string> Finish(bool* endsInQuotes = nullptr);

 private:
  // A run of quotes ends where another character follows: two in it close
  // the quoted part they opened.
  void EndQuoteRun();

  std::vector<std::u16string> arguments_;
  std::u16string current_;
  bool inArgument_ = false;
  bool inQuoteRun_ = false;
  std::size_t backslashes_ = 0;
  int quotes_ = 0;  // 1 inside a quoted part; counts a run of quotes to three
};

// The arguments in text, which follows the program's name, read by
// ArgumentReader.
std::vector<std::u16string> SplitArguments(std::u16string_view text, bool* endsInQuotes = nullptr);

// The argument in double quotes, its quotes and the backslashes before them
// (or before the closing quote) escaped: SplitArguments gives it back whole,
// and so does every C runtime, old or new: every quote inside it is
// escaped, and runtimes differ only on quotes in a row that are not.
std::u16string QuoteArgument(std::u16string_view argument);

// The two ways the C runtimes read a run of quotes inside a quoted part:
// the old one (msvcrt.dll, and CommandLineToArgvW alike) takes "" there for
// a literal quote that ends the quoted part, the new one (the Visual C++
// runtimes since 2008, and the UCRT) for a literal quote that keeps it open.
// Everything else they read alike: blanks and tabs outside quotes separate,
// 2n backslashes and a quote give n backslashes and a quote that opens or
// closes, 2n+1 give n and a literal quote, other backslashes are literal.
enum class QuoteRuns { Old, New };

// The arguments a C runtime's start-up code makes of the text after the
// program's name, in UTF-16 (wmain, __wargv).
std::vector<std::u16string> SplitCrtArguments(std::u16string_view text, QuoteRuns rule);

// The same for a program that reads the ANSI line (main, __argv): bytes of
// the process's code page, where a lead byte and its trail byte are one
// character, so that a trail byte 0x5C is no backslash.
std::vector<std::string> SplitCrtArguments(std::string_view text, QuoteRuns rule,
                                           const std::function<bool(unsigned char)>& isLeadByte);

// Like QuoteArgument, for a line that a program may also read in an ANSI
// code page where some other characters become a backslash (the yen sign
// in code page 932): such a character is never left right before a quote,
// where it would escape it. A run of them at the end goes after the closing
// quote, where backslashes are only text. Nothing when the argument cannot
// be written so (such a character right before a quote of its own, or a
// character that becomes a quote).
std::optional<std::u16string> QuoteArgumentForEveryReading(
    std::u16string_view argument, const std::function<bool(char16_t)>& becomesBackslash,
    const std::function<bool(char16_t)>& becomesQuote);
