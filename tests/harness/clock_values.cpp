#include "tests/harness/clock_values.h"

#include <cstdio>

namespace {

ULONGLONG Seconds(const SYSTEMTIME& time) {
  FILETIME file;
  SystemTimeToFileTime(&time, &file);
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  return value.QuadPart / 10000000ULL;
}

SYSTEMTIME FromSeconds(ULONGLONG seconds) {
  ULARGE_INTEGER value;
  value.QuadPart = seconds * 10000000ULL;
  FILETIME file;
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  SYSTEMTIME time;
  FileTimeToSystemTime(&file, &time);
  return time;
}

std::string Number(int value, bool twoDigits) {
  char text[16];
  snprintf(text, sizeof text, twoDigits ? "%02d" : "%d", value);
  return text;
}

}  // namespace

std::vector<SYSTEMTIME> SecondsBetween(const SYSTEMTIME& before, const SYSTEMTIME& after) {
  std::vector<SYSTEMTIME> moments;
  for (ULONGLONG s = Seconds(before); s <= Seconds(after); ++s) moments.push_back(FromSeconds(s));
  return moments;
}

std::string TokenValue(const std::string& token, const SYSTEMTIME& t) {
  static const char* english[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* japanese[] = {"日", "月", "火", "水", "木", "金", "土"};
  if (token == "<Y4>") return Number(t.wYear, false);
  if (token == "<Y2>") return Number(t.wYear % 100, true);
  if (token == "<M2>") return Number(t.wMonth, true);
  if (token == "<M1>") return Number(t.wMonth, false);
  if (token == "<D2>") return Number(t.wDay, true);
  if (token == "<D1>") return Number(t.wDay, false);
  if (token == "<WE>") return english[t.wDayOfWeek];
  if (token == "<WJ>") return japanese[t.wDayOfWeek];
  if (token == "<H2>") return Number(t.wHour, true);
  if (token == "<H1>") return Number(t.wHour, false);
  if (token == "<N2>") return Number(t.wMinute, true);
  if (token == "<N1>") return Number(t.wMinute, false);
  if (token == "<S2>") return Number(t.wSecond, true);
  if (token == "<S1>") return Number(t.wSecond, false);
  return "?";
}

bool IsTokenValueBetween(const std::string& token, const std::string& value, const SYSTEMTIME& before,
                         const SYSTEMTIME& after) {
  for (const SYSTEMTIME& moment : SecondsBetween(before, after)) {
    if (TokenValue(token, moment) == value) return true;
  }
  return false;
}

std::vector<std::string> SplitValues(const std::string& text, char separator) {
  std::vector<std::string> values(1);
  for (const char c : text) {
    if (c == separator) {
      values.emplace_back();
    } else {
      values.back() += c;
    }
  }
  return values;
}
