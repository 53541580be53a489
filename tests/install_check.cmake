# Installs the build into PREFIX (emptied first), lists what was installed,
# checks that each expected file is there and that the desktop entry passes
# desktop-file-validate (VALIDATE).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE status
                OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
string(REPLACE ";" "\n  " listing "${installed}")
message(STATUS "Installed:\n  ${listing}")
set(expected bin/orvane bin/orvane-cli share/man/man1/orvane.1 share/man/man1/orvane-cli.1
    share/applications/orvane.desktop share/icons/hicolor/scalable/apps/orvane.svg)
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(NOT VALIDATE)
  message(FATAL_ERROR "desktop-file-validate is missing (Debian package desktop-file-utils)")
endif()
execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/orvane.desktop RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the desktop entry does not pass desktop-file-validate")
endif()
# The installed window program answers without a display.
execute_process(COMMAND ${PREFIX}/bin/orvane --version RESULT_VARIABLE status OUTPUT_VARIABLE version)
if(NOT status EQUAL 0 OR NOT version MATCHES "^orvane [0-9]")
  message(FATAL_ERROR "the installed orvane does not answer --version: ${version}")
endif()
file(REMOVE_RECURSE ${PREFIX})
