// The settings file: read once at start-up, rewritten after every change.
#pragma once

// Replaces Items with the registered, acceptable items of the settings file,
// sorted by name. A missing file or section gives an empty list.
void LoadItems();

// Rewrites the ItemList section from Items. The new file is built beside the
// old one and replaces it in one step; other sections are kept. False when
// anything failed, in which case the old file is untouched.
bool SaveItems();
