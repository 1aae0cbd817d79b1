#include "catalogue/version_info.h"

#include <cstdio>

std::string VersionText;
std::string RightsNotice;

std::string FormatVersionText(int major, int minor, int revision) {
  char text[48];
  if (revision > 0) {
    snprintf(text, sizeof text, "%d.%02d.%d", major, minor, revision);
  } else {
    snprintf(text, sizeof text, "%d.%02d", major, minor);
  }
  return text;
}
