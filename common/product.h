// Orbisk's identity, shared by the version resources and the code of all its
// programs: the window captions and message-box titles, the version the
// status bar and every script show (read back from the resource), the
// settings file's name, and the description by which the browser host knows
// the launchers that ship with Orbisk.
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
// The launchers that ship with Orbisk, by their product names, and the
// FileDescription of their version resources, by which the browser host
// knows them whatever their files are called.
#define ORBISK_JOTWELL_NAME "Jotwell"
#define ORBISK_FETCHBAY_NAME "Fetchbay"
#define ORBISK_PAGEWATCH_NAME "Pagewatch"
#define ORBISK_CLIPSY_NAME "Clipsy"
#define ORBISK_LAUNCHER_DESCRIPTION ORBISK_PRODUCT_NAME " Sample"

#ifndef RC_INVOKED
// Orbisk's settings file keeps Orbisk's name, whichever program reads it.
inline constexpr char kSettingsFileName[] = ORBISK_PRODUCT_NAME ".ini";
#endif
