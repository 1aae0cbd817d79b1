// Export and import of items: a file in the settings file's own format
// (Shift_JIS, CR LF, an ItemList section with the item keys), so that it is
// readable, compares line by line and loads in any version. Reading such a
// file is strict where the settings file's loader is forgiving: an import
// says what is wrong instead of repairing a file it did not write.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/settings_format.h"
#include "catalogue/validation.h"

// "Orbisk-items-<yyyymmdd>.ini", the name an export offers.
std::string DefaultExportFileName(int year, int month, int day);

// The file an export writes for records.
std::string ExportFileText(const std::vector<ItemRecord>& records);

// The longest value a field may have in an item file, in bytes. A longer one
// cannot be a command line a program gets (32,767 characters at most) and is
// not what anyone typed.
inline constexpr std::size_t kMaxFieldBytes = 8192;

// What an item file holds: its records in file order, or, when the file
// cannot be taken as it is, why (problem, code page 932; then records is
// empty). scriptFolder is the user folder, for the length of a script path.
struct ItemFile {
  std::vector<ItemRecord> records;
  std::string problem;
};

// Reads an item file from its bytes. The text is Shift_JIS; a file saved
// as UTF-8 (with or without a byte order mark) or UTF-16 is converted, and
// refused when a character has no form in code page 932. Refused: a file
// that is not text, has no ItemList section or no item count, holds fewer or
// more items than its count or ends inside a key (a cut file), an item
// without a name, a launcher item without its path or contexts, a value
// outside its range, a field longer than kMaxFieldBytes, a name twice (as
// same compares names: the import passes the comparison of the registry and
// the file system, for which "ｘ" and "Ｘ" are one key and one file as well),
// or a name that could not be an item's (a forbidden character, a device
// name, a script path too long, blanks only). A file cut at the end of a
// line or inside the last value cannot be told from a hand-written one
// without those keys.
ItemFile ReadItemFile(std::string_view bytes, const ToCodePage932& toCodePage932,
                      const std::string& scriptFolder,
                      const NameComparator& same = SameNameIgnoringAsciiCase);

// True when text is Shift_JIS throughout: every lead byte with a trail byte,
// no byte the code page leaves undefined, no control character but tab, CR
// and LF.
bool IsShiftJisText(std::string_view text);

// name, or the first of "name (2)", "name (3)", … that no name of taken
// uses, as same compares names: the import passes the comparison of the
// registry and the file system, which take full-width and other letters of
// either case as one name as well.
std::string FreeItemName(const std::string& name, const std::vector<std::string>& taken,
                         const NameComparator& same = SameNameIgnoringAsciiCase);

// What one import did, item by item.
struct ImportReport {
  std::vector<std::string> added, replaced, skipped;
  std::vector<std::pair<std::string, std::string>> refused;  // name, reason
};

// The box at the end of an interactive import.
std::string ImportSummaryText(const ImportReport& report);

// The report of a quiet import, one line per item and the summary, CR LF.
std::string ImportLogText(const ImportReport& report);

// The one line of a quiet import whose file was refused.
std::string ImportRefusedLogLine(const std::string& reason);
