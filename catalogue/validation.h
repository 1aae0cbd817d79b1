// The checks an item passes before anything is written for it: its name
// becomes a menu text, a registry key and a file name, and its fields become
// a script. Pure: nothing here touches the system; the path check and the name
// comparison are passed in.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_names.h"  // IsReservedDeviceName, HasForbiddenNameChar
#include "common/path_kind.h"

// What is done to the item, which decides the name checks that run: a new
// item's name must be given and free; an edited item keeps its name; a
// renamed item's name must be given, differ from the stored one and be free
// of every other item's.
enum class ItemChange { Add, Edit, Rename };

// The dialog field that takes the focus after a failed check.
enum class FocusField { None, ItemName, Argments, AplPath, FirstContext };

struct ValidationResult {
  bool passed = true;
  std::string message;  // code page 932; empty when passed
  FocusField focus = FocusField::None;
};

// The dialog's fields as typed, and what they are checked against.
struct ValidationInput {
  ItemChange change = ItemChange::Add;
  std::string storedName;      // the item's name as stored (edit and rename)
  std::string nameField;       // txtItemName
  std::string parameterField;  // txtArgments: template or fixed string
  std::string pathField;       // txtAplPath
  bool fixedString = false;    // chkFixedString
  std::array<bool, 4> contexts{};
  std::vector<std::string> itemNames;  // every listed item's name
  std::string scriptFolder;            // UserFolder
};

using NameComparator = std::function<bool(const std::string&, const std::string&)>;
using PathKindReader = std::function<PathKind(const std::string&)>;

// True when the text holds LF, CR or TAB.
bool HasControlChars(std::string_view text);

// Equal ignoring the case of ASCII letters (double-byte characters exact).
bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b);

// Runs the checks in order and returns the first failure. Names of listed
// items collide when sameName says so: registry keys and file names ignore
// letter case, so the duplicate check does too, while the unchanged-name check
// of a rename stays exact. pathKind is asked about the application path only.
ValidationResult ValidateItem(const ValidationInput& input, const PathKindReader& pathKind,
                              const NameComparator& sameName = SameNameIgnoringAsciiCase);

// On Windows: the path as the file system sees it, names compared the way the
// file system and registry compare them.
ValidationResult ValidateItem(const ValidationInput& input);
