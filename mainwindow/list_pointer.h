// What the list does under the mouse pointer: the hint box follows the item
// under it, a name too long for the list shows as a tooltip, and a program
// file dropped on it starts an Add.
#pragma once

#include <windows.h>

#include <string>

// Creates the list's tooltip (empty until a long name is under the pointer).
void CreateListTooltip(HWND mainWindow, HWND list);
HWND ListTooltip();

// The pointer moved to (x, y), in pixels relative to the list.
void OnListMouseMove(int x, int y);

// Files were dropped on the list; takes ownership of the drop handle.
void OnListDrop(HDROP drop);
