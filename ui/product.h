// Orbisk's identity, shared by its version resource and its code: the window
// captions and message-box titles, and the version the status bar and every
// script show, which the program reads back from the resource.
#pragma once

#define ORBISK_PRODUCT_NAME "Orbisk"
#define ORBISK_FILE_NAME "Orbisk.exe"
#define ORBISK_VERSION_MAJOR 1
#define ORBISK_VERSION_MINOR 0
#define ORBISK_VERSION_REVISION 0
// The version as VersionText writes it: the minor number with two digits, the
// revision only when it is above 0.
#define ORBISK_VERSION_TEXT "1.00"
#define ORBISK_RIGHTS_NOTICE "Copyright (C) 2026 Orbisk"

#ifndef RC_INVOKED
inline constexpr char kProductName[] = ORBISK_PRODUCT_NAME;
#endif
