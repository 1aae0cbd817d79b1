// Pagewatch's identity, shared by its version resource and its code.
#pragma once

#define LAUNCHER_PRODUCT_NAME "Pagewatch"
#define LAUNCHER_FILE_NAME "Pagewatch.exe"
#define LAUNCHER_VERSION_MAJOR 1
#define LAUNCHER_VERSION_MINOR 2
#define LAUNCHER_VERSION_TEXT "1.02"
