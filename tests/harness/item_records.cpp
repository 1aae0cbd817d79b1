#include "tests/harness/item_records.h"

ItemRecord NamedItem(const std::string& name) {
  ItemRecord item;
  item.ItemName = name;
  return item;
}

ItemRecord LauncherRecord(const std::string& name, const std::string& path, const std::string& argments,
                          const ItemContexts& contexts, int16_t windowStyle) {
  ItemRecord item = NamedItem(name);
  item.AplPath = path;
  item.Argments = argments;
  item.Contexts = contexts;
  item.WindowStyle = windowStyle;
  return item;
}

ItemRecord FixedStringRecord(const std::string& name, const std::string& text) {
  ItemRecord item = NamedItem(name);
  item.FixedString = 1;
  item.Argments = text;
  return item;
}
