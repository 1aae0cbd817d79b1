// One context-menu item and the program-wide list of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ItemRecord {
  std::string ItemName;               // menu text; names the registry key and the script file
  int16_t FixedString = 0;            // 0 launcher item, 1 fixed-string item
  std::string AplPath;                // launcher items: the application to start
  std::string Argments;               // argument template, or the fixed text
  std::string Comment;                // may hold CR LF
  std::array<int16_t, 4> Contexts{};  // normal, image, link, selection: 0 or 1
  int16_t WindowStyle = 0;            // 0 hidden, 1 normal, 2 minimised, 3 maximised
  int16_t ConfCmdLine = 0;            // 1: the script only shows the command line

  bool operator==(const ItemRecord&) const = default;
};

// The four context flags as the dialog's check boxes and the registration
// take them.
inline std::array<bool, 4> ContextFlags(const ItemRecord& item) {
  return {item.Contexts[0] != 0, item.Contexts[1] != 0, item.Contexts[2] != 0, item.Contexts[3] != 0};
}

// The catalogue in memory, kept in the order of the main window's list: line i
// of the list box is always Items[i].
inline std::vector<ItemRecord> Items;

inline int ItemCount() { return static_cast<int>(Items.size()); }
