// Starting another program, as the launchers and the show-script button do.
#pragma once

#include <string>

// Starts the command line (the quoted program first) with a normal, activated
// window and does not wait for it; true when the process was created.
bool StartProgram(const std::string& commandLine);
