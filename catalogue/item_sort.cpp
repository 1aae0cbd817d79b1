#include "catalogue/item_sort.h"

#include <utility>

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
