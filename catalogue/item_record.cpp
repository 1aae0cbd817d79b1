#include "catalogue/item_record.h"

std::vector<ItemRecord> Items;
