#include "mainwindow/edit_mode.h"

EditModes EditMode = EditModes::Add;
std::string DroppedPath;
