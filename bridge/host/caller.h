// Whether the browser started the host for the Orbisk extension. The browser
// names the caller on the host's command line: Chromium-family browsers
// pass the origin "chrome-extension://<id>/" first; Firefox passes the
// manifest's path first and the extension's id second.
#pragma once

#include <string>
#include <vector>

// arguments: the command line after the program, in UTF-8.
bool IsOrbiskExtension(const std::vector<std::string>& arguments);
