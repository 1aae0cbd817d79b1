#include "catalogue/fixed_string_script.h"
#include "catalogue/program_paths.h"
#include "common/atomic_file.h"

// Written beside its final place and moved there only when complete, so that
// a failed rewrite leaves the item's working script as it was.
bool WriteFixedStringScript(const std::string& itemName, const std::string& fixedString) {
  return WriteFileAtomically(ScriptFilePath(itemName), FixedStringScriptText(fixedString));
}
