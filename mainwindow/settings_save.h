// Writing the catalogue to the settings file after every committed change, so
// that a crash or a killed process loses nothing, and telling the user when
// the file cannot be written.
#pragma once

// SaveItems; on failure a critical message naming the settings file. The
// list saved (or tried) is remembered for CatalogueSaved. True when written.
bool SaveCatalogue();

// True when Items is exactly the list SaveCatalogue handled last, so that a
// change already saved (or already reported as failed) is not saved twice.
bool CatalogueSaved();
