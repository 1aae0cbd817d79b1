// Included after a launcher's product.h, so that the next launcher's can be
// read in the same file: the macros every product.h defines are forgotten.
// Without an include guard on purpose.
#undef LAUNCHER_PRODUCT_NAME
#undef LAUNCHER_FILE_NAME
#undef LAUNCHER_VERSION_MAJOR
#undef LAUNCHER_VERSION_MINOR
#undef LAUNCHER_VERSION_TEXT
