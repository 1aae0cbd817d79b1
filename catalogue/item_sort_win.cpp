#include <windows.h>

#include "catalogue/item_sort.h"
#include "common/wide_text.h"

namespace {

// The names are Shift_JIS and the order is the one a Japanese Windows gives
// them. CompareStringA with the user's locale would read the bytes in that
// locale's code page (1252 for English) and order the same names otherwise
// on a Windows set to another language.
const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);

}  // namespace

bool ItemNameLess(const std::string& a, const std::string& b) {
  const std::wstring wa = ToWide(a), wb = ToWide(b);
  return CompareStringW(kJapanese, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()), wb.data(),
                        static_cast<int>(wb.size())) == CSTR_LESS_THAN;
}

void SortItems(int lo, int hi) { SortItems(Items, lo, hi, ItemNameLess); }
