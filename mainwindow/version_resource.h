// Reads the running program's version resource.
#pragma once

#include <string>

struct ProgramVersion {
  int major = 0, minor = 0, revision = 0;
  std::string rightsNotice;  // LegalCopyright, code page 932
};

// The version of the program file at path: FILEVERSION major, minor and
// revision, and the legal notice of its string table. False when the file has
// no version resource.
bool ReadProgramVersion(const std::string& path, ProgramVersion& version);

// Sets VersionText and RightsNotice from the running program's resource.
void LoadVersionTexts();
