// Fetchbay's identity, shared by its version resource and its code.
#pragma once

#define LAUNCHER_PRODUCT_NAME "Fetchbay"
#define LAUNCHER_FILE_NAME "Fetchbay.exe"
#define LAUNCHER_VERSION_MAJOR 1
#define LAUNCHER_VERSION_MINOR 3
#define LAUNCHER_VERSION_TEXT "1.03"
