// Jotwell's identity, shared by its version resource and its code.
#pragma once

#include "common/product.h"

#define LAUNCHER_PRODUCT_NAME ORBISK_JOTWELL_NAME
#define LAUNCHER_FILE_NAME ORBISK_JOTWELL_NAME ".exe"
#define LAUNCHER_VERSION_MAJOR 1
#define LAUNCHER_VERSION_MINOR 0
#define LAUNCHER_VERSION_TEXT "1.00"
