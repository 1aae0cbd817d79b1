#include <windows.h>

#include "catalogue/version_info.h"
#include "common/module_path.h"
#include "common/text_util.h"
#include "mainwindow/version_resource.h"

bool ReadProgramVersion(const std::string& path, ProgramVersion& version) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return false;
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return false;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return false;
  version.major = HIWORD(fixed->dwFileVersionMS);
  version.minor = LOWORD(fixed->dwFileVersionMS);
  version.revision = HIWORD(fixed->dwFileVersionLS);

  // The notice of the first language the resource lists.
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  version.rightsNotice.clear();
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                     &length) &&
      translation && length >= sizeof *translation) {
    char query[64];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\LegalCopyright", translation->language,
              translation->codePage);
    char* notice = nullptr;
    if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&notice), &length) && notice) {
      // The length VerQueryValueA gives counts characters, not bytes: read up
      // to the terminating NUL within the block instead.
      const char* end = block.data() + block.size();
      const size_t room = notice >= block.data() && notice < end ? static_cast<size_t>(end - notice) : 0;
      version.rightsNotice = TrimAtNul(std::string_view(notice, strnlen(notice, room)));
    }
  }
  return true;
}

void LoadVersionTexts() {
  ProgramVersion version;
  ReadProgramVersion(GetProgramPath(), version);
  VersionText = FormatVersionText(version.major, version.minor, version.revision);
  RightsNotice = version.rightsNotice;
}
