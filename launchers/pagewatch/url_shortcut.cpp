#include "launchers/pagewatch/url_shortcut.h"

std::string UrlShortcutContent(std::string_view url) {
  std::string content = "[InternetShortcut]\r\nURL=";
  for (const char c : url) {
    if (c != '\t' && c != '\r' && c != '\n') content += c;
  }
  content += "\r\n";
  return content;
}
