// Ordering of the catalogue by item name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/item_record.h"

using NameLess = std::function<bool(const std::string&, const std::string&)>;

// Quicksort of records lo..hi with the middle element as pivot. Names that
// compare equal end up in the order this exact procedure gives them, which is
// why it is not a library sort: the list must come out the same on every run.
void SortItems(std::vector<ItemRecord>& records, int lo, int hi, const NameLess& less);

// Sorts Items[lo..hi] with the platform's locale-aware, case-insensitive
// comparison of names.
void SortItems(int lo, int hi);

// The platform comparison used by SortItems: true when a sorts strictly
// before b, ignoring letter case.
bool ItemNameLess(const std::string& a, const std::string& b);
