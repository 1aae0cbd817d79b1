// Orbisk's own name as its windows and message boxes are titled with it (the
// launchers carry their own names).
#pragma once

#include "common/product.h"

#ifndef RC_INVOKED
inline constexpr char kProductName[] = ORBISK_PRODUCT_NAME;
#endif
