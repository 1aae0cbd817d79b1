// How a Windows program splits the text after its name into arguments
// (CommandLineToArgvW, and the C runtime's start-up code for the cases the
// host produces), and how one argument is written so that it survives that
// split whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The arguments in text, which follows the program's name: blanks and tabs
// outside double quotes separate them; 2n backslashes and a quote give n
// backslashes and open or close the quoted part, 2n+1 give n and a literal
// quote; in a run of quotes every third one is literal. *endsInQuotes tells
// whether a quoted part is still open at the end.
std::vector<std::u16string> SplitArguments(std::u16string_view text, bool* endsInQuotes = nullptr);

// The argument in double quotes, its quotes and the backslashes before them
// (or before the closing quote) escaped: SplitArguments gives it back whole,
// and so does every C runtime, old or new: every quote inside it is
// escaped, and runtimes differ only on quotes in a row that are not.
std::u16string QuoteArgument(std::u16string_view argument);
