// How a Windows program splits the text after its name into arguments
// (CommandLineToArgvW, and the C runtime's start-up code for the cases the
// host produces), and how one argument is written so that it survives that
// split whole.
#pragma once

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
