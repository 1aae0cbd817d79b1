// Writing the catalogue to the settings file after every committed change, so
// that a crash or a killed process loses nothing, and telling the user when
// the file cannot be written.
#pragma once

// SaveItems; on failure a critical message naming the settings file. True
// when written.
bool SaveCatalogue();
