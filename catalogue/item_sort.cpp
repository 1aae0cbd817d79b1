#include "catalogue/item_sort.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>

#include "common/wide_text.h"
#endif

void SortItems(std::vector<ItemRecord>& records, int lo, int hi, const NameLess& less) {
  while (lo < hi) {
    std::swap(records[lo], records[(lo + hi) / 2]);
    int last = lo;
    for (int i = lo + 1; i <= hi; ++i) {
      if (less(records[i].ItemName, records[lo].ItemName)) {
        ++last;
        std::swap(records[last], records[i]);
      }
    }
    std::swap(records[lo], records[last]);
    // Recurse into the left part and loop on the right one: the same order of
    // work as two recursive calls, without deep recursion on sorted input.
    SortItems(records, lo, last - 1, less);
    lo = last + 1;
  }
}

#ifdef _WIN32
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
#endif  // _WIN32
