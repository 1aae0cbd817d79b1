# Makes the copy of the extension that the browser tests load: bridge/extension
# as it ships, with the test hook in tests/browser/hook put around its
# background.js. The hook lets a test pick an entry without the menu a
# headless browser never draws; the extension users load must not offer it.
#   cmake -DSOURCE=<bridge/extension> -DHOOK=<tests/browser/hook> -DOUT=<dir> -P assemble_test_extension.cmake
foreach(var SOURCE HOOK OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "assemble_test_extension.cmake needs -D${var}=…")
  endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
file(COPY "${SOURCE}/" DESTINATION "${OUT}")
file(READ "${HOOK}/before_background.js" before)
file(READ "${SOURCE}/background.js" background)
file(READ "${HOOK}/after_background.js" after)
file(WRITE "${OUT}/background.js" "${before}${background}${after}")
