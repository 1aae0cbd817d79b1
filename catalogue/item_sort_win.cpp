#include <windows.h>

#include "catalogue/item_sort.h"

bool ItemNameLess(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

void SortItems(int lo, int hi) { SortItems(Items, lo, hi, ItemNameLess); }
