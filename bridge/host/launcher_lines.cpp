#include "bridge/host/launcher_lines.h"

#include <algorithm>

namespace {

// Where the launcher's argument text starts: the blanks after the path are
// not part of it.
std::size_t ArgumentTextStart(const MarkedText& arguments) {
  std::size_t start = 0;
  while (start < arguments.text.size() && arguments.text[start] == u' ') ++start;
  return start;
}

// A run of page text inside a path must stay inside the one name the
// template gives it: no separator, drive or stream colon, and not "." or ".."
// (nor what Windows trims to them).
bool PageRunStaysInName(std::u16string_view run) {
  if (run.find_first_of(u"\\/:") != std::u16string_view::npos) return false;
  const bool onlyDotsAndBlanks = run.find_first_not_of(u". ") == std::u16string_view::npos;
  return !onlyDotsAndBlanks || run.find(u'.') == std::u16string_view::npos;
}

bool PageStaysInNames(const MarkedText& text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to;) {
    if (!text.page[i]) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < to && text.page[end]) ++end;
    if (!PageRunStaysInName(std::u16string_view(text.text).substr(i, end - i))) return false;
    i = end;
  }
  return true;
}

// Jotwell splits its text at every " /" into options, each a letter and its
// value. The page may fill values, but never a slash, a separator or a
// letter; in the text file's path only a name, and nothing in the editor's.
LineRefusal CheckJotwell(const MarkedText& arguments) {
  const std::u16string& text = arguments.text;
  std::size_t start = ArgumentTextStart(arguments);
  if (start == text.size() || text[start] != u'/') return LineRefusal::None;  // Jotwell shows its usage
  for (;;) {
    // start is at an option's slash.
    const std::size_t letter = start + 1;
    if (arguments.page[start] || (letter < text.size() && arguments.page[letter])) {
      return LineRefusal::PageFormsOption;
    }
    std::size_t end = text.find(u" /", letter);
    if (end == std::u16string::npos) end = text.size();
    if (end < text.size() && (arguments.page[end] || arguments.page[end + 1]))
      return LineRefusal::PageFormsOption;
    if (letter < end) {
      const char16_t option = text[letter];
      if ((option == u'e' || option == u'E') && arguments.AnyPage(letter + 1, end)) {
        return LineRefusal::PageNamesPath;
      }
      if ((option == u'o' || option == u'O') && !PageStaysInNames(arguments, letter + 1, end)) {
        return LineRefusal::PageNamesPath;
      }
    }
    if (end == text.size()) return LineRefusal::None;
    start = end + 1;
  }
}

// Fetchbay takes the URL up to the first blank and the application after
// it: that blank and all after it must be the template's.
LineRefusal CheckFetchbay(const MarkedText& arguments) {
  const std::size_t start = ArgumentTextStart(arguments);
  const std::size_t blank = arguments.text.find(u' ', start);
  if (blank == std::u16string::npos) return LineRefusal::None;  // Fetchbay shows its usage
  return arguments.AnyPage(blank, arguments.text.size()) ? LineRefusal::PageNamesPath : LineRefusal::None;
}

}  // namespace

LineRefusal CheckLauncherLine(ProgramKind kind, const MarkedText& arguments) {
  switch (kind) {
    case ProgramKind::Jotwell:
      return CheckJotwell(arguments);
    case ProgramKind::Fetchbay:
      return CheckFetchbay(arguments);
    default:
      return LineRefusal::None;
  }
}
