// Which text files Jotwell may append to and which editors it may start.
// The text file and the editor come from the argument text, and the page's
// own text can add options there ("... /oC:\...\Startup\x.bat"), so both are
// judged by the name Windows will really use, not by the text as written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launchers/common/path_roots.h"

// The last component of a path as the file system takes it, split into the
// file's name and the name of a data stream ("x.txt:y.bat" is stream "y.bat"
// of file "x.txt"; "x.bat::$DATA" is the file "x.bat" itself). Forward
// slashes count as backslashes, "." and ".." components are resolved, and the
// trailing dots and blanks that Windows drops are gone: "x.bat. " and
// "x.bat\." both name "x.bat". A path that ends in a separator names its last
// folder.
struct ResolvedName {
  std::string file;
  std::string stream;  // "" for the file's own data
};
ResolvedName ResolveLastName(std::string_view path);

// The upper-cased extensions, dot included, of files that Windows runs or
// opens as code: every entry of pathext (the value of the PATHEXT variable,
// "" when it is unset), the system's default PATHEXT list, which Explorer
// runs whatever PATHEXT says, and the shell's other code and link types.
std::vector<std::string> ExecutableExtensions(std::string_view pathext);

// True when the name ends in one of the extensions, letters in any case.
bool HasExtensionIn(std::string_view name, const std::vector<std::string>& extensions);

// True when Jotwell may append its line to path (enclosing quotes already
// stripped): neither the file nor a stream it names carries an executable
// extension, the path holds no double quote, and it leads to no device.
bool IsSafeTextFilePath(std::string_view path, const std::vector<std::string>& executableExtensions);

// True when an editor path (as given, enclosing quotes included) has the
// shape of a local program: it holds ".exe" in any case, it has no double
// quote but one enclosing pair, it is neither a network nor a device path,
// and the name it resolves to is a ".exe" file and no stream of one. Whether
// the program exists is asked of the disk afterwards.
bool HasLocalProgramShape(std::string_view editorPath);
