#include "catalogue/launcher_script.h"
#include "catalogue/program_paths.h"
#include "common/atomic_file.h"

// Written beside its final place and moved there only when complete, so that
// a failed rewrite leaves the item's working script as it was.
bool WriteLauncherScript(const std::string& itemName, const std::string& aplPath, const std::string& argments,
                         int windowStyle, bool confCmdLine) {
  return WriteFileAtomically(ScriptFilePath(itemName),
                             LauncherScriptText(itemName, aplPath, argments, windowStyle, confCmdLine));
}
