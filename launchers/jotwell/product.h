// Jotwell's identity, shared by its version resource and its code.
#pragma once

#define LAUNCHER_PRODUCT_NAME "Jotwell"
#define LAUNCHER_FILE_NAME "Jotwell.exe"
#define LAUNCHER_VERSION_MAJOR 1
#define LAUNCHER_VERSION_MINOR 0
#define LAUNCHER_VERSION_TEXT "1.00"
