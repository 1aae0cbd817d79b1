// The ItemList section of the settings file: how records become key=value
// pairs and back, without touching any file. The profile reader of the
// platform trims blanks and strips one pair of enclosing quotes from every
// value; the writer here quotes values so that they survive that.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"

inline constexpr char kItemListSection[] = "ItemList";

// A value whose first and last characters are both the same quote character
// (double or single; a lone quote counts) gets one more pair of double quotes,
// which the reader removes again.
std::string QuoteForProfile(std::string_view value);

// Comment as stored: quoted, then every CR LF written as backslash-n.
std::string EncodeComment(std::string_view comment);
// Comment as read: every backslash-n (lower-case n) becomes CR LF.
std::string DecodeComment(std::string_view stored);

// An integer value as the settings file holds it: the leading decimal digits.
// No digits at the start (a sign included) give 0. A number beyond the 16-bit
// range gives nullopt so that the caller's repair rule applies instead of a
// wrapped value. An absent or empty value gives the default.
std::optional<int> ParseProfileInt(const std::optional<std::string>& value, int defaultValue);

// The numeric-text test applied to Contexts: optional sign, decimal digits with
// an optional decimal point, an optional exponent; 1010, 0001 and 1e10 pass.
bool IsNumericText(std::string_view text);

// Reads one value of the section by key; nullopt when the key is absent.
// Values arrive trimmed and with one pair of enclosing quotes removed.
using ProfileReader = std::function<std::optional<std::string>(const std::string& key)>;
using RegisteredTest = std::function<bool(const std::string& itemName)>;

// Builds the list from the section: reads items 1..itemCount, repairs their
// numbers and keeps only acceptable, registered ones, renumbered without gaps.
// The result is not sorted.
std::vector<ItemRecord> ReadCatalogue(const ProfileReader& read, int itemCount,
                                      const RegisteredTest& isRegistered);

// The key=value pairs of the section for records, in the order they are
// written: ItemCount first, then each item's keys.
std::vector<std::pair<std::string, std::string>> CatalogueEntries(const std::vector<ItemRecord>& records);

// The values of the first section of that name (letter case ignored) in the
// text of an INI file, keyed by upper-cased key name, as the platform's
// single-value reader gives them: the first occurrence of a key, blanks and
// tabs around it removed, then one pair of enclosing quotes (double or
// single) removed. Lines end in LF or CR LF. nullopt when there is no such
// section.
std::optional<std::map<std::string, std::string>> IniSectionValues(std::string_view fileText,
                                                                   std::string_view section);

// Reads the values of a section (IniSectionValues) by key, letter case
// ignored. The values must outlive the reader.
ProfileReader SectionReader(const std::map<std::string, std::string>& values);

// The highest n of the section's ItemNamen keys (n of one to five digits):
// an item count beyond it is not believed, so that a file that claims
// 32,767 items is not read 32,767 times.
int HighestItemNumber(const std::map<std::string, std::string>& values);

// True when the bytes begin with the byte order mark of UTF-8 or UTF-16.
bool HasByteOrderMark(std::string_view bytes);

// The one reader of the settings format, for Orbisk's start-up, the browser
// bridge's host and the import: the ItemList section of the file's text,
// its items read, repaired and kept when acceptable and registered, then
// sorted by less. A text without the section gives an empty list. The item
// count is not trusted beyond the items the file holds.
std::vector<ItemRecord> ReadCatalogueText(std::string_view fileText, const RegisteredTest& isRegistered,
                                          const NameLess& less);

// Converts UTF-16 to code page 932; clears *exact when a character has no
// form there (it then stands as "?").
using ToCodePage932 = std::function<std::string(std::u16string_view, bool* exact)>;

// The text of a settings file in code page 932. Orbisk writes Shift_JIS; a
// file that an editor saved as UTF-8 or UTF-16 with a byte order mark is
// converted, as the platform's profile reader converts it. *exact is false
// when a character of such a file has no form in code page 932, or its UTF-8
// is broken.
std::string SettingsTextFromBytes(std::string_view bytes, const ToCodePage932& toCodePage932, bool* exact);

// The text of an INI file with one section's lines replaced by entries, in
// place, or appended at the end when the file has no such section. Every
// other line keeps its bytes. Lines end in CR LF.
std::string ReplaceIniSection(std::string_view fileText, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& entries);
