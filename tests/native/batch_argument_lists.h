// Argument lists that a batch file handing "%*" on to a program must give
// back exactly, or refuse to be started with: the published test vectors of
// a language runtime's batch-file argument escaping (each list is one run;
// a line break must be refused). None may ever run or redirect anything.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::vector<std::u16string>>& BatchArgumentLists() {
  static const std::vector<std::vector<std::u16string>> lists = {
      {u"a", u"b"},
      {u"c is for cat", u"d is for dog"},
      {u"\"", u" \""},
      {u"\\", u"\\"},
      {u">file.txt"},
      {u"whoami.exe"},
      {u"&a.exe"},
      {u"&echo hello "},
      {u"&echo hello", u"&whoami", u">file.txt"},
      {u"!TMP!"},
      {u"key=value"},
      {u"\"key=value\""},
      {u"key = value"},
      {u"key=[\"value\"]"},
      {u"", u"a=b"},
      {u"key=\"foo bar\""},
      {u"key=[\"my_value]"},
      {u"key=[\"my_value\",\"other-value\"]"},
      {u"key\\=value"},
      {u"key=\"&whoami\""},
      {u"key=\"value\"=5"},
      {u"key=[\">file.txt\"]"},
      {u"%hello"},
      {u"%PATH%"},
      {u"%%cd:~,%"},
      {u"%PATH%PATH%"},
      {u"\">file.txt"},
      {u"abc\"&echo hello"},
      {u"123\">file.txt"},
      {u"\"&echo hello&whoami.exe"},
      {u"hello^\"world", u"hello &echo oh no >file.txt"},
      {u"a\r\nb"},
  };
  return lists;
}

// True when cmd.exe could not be given a value of the list safely, so that
// the host refuses it: a quote, percent sign, exclamation mark, caret or
// line break.
inline bool BatchListIsRefused(const std::vector<std::u16string>& list) {
  for (const std::u16string& value : list) {
    if (value.find_first_of(u"\"%!^\r\n") != std::u16string::npos) return true;
  }
  return false;
}
