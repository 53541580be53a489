# Windows builds: every program carries a manifest (long paths, the UTF-8
# code page, per-monitor DPI awareness, Windows 10/11), a version resource
# and the icon. The icon is rendered from dist/orvane.svg when configuring
# (rsvg-convert, icotool), as an .ico for the programs and as PNG sizes for
# the window, which needs no SVG support in Qt then.
enable_language(RC)
set(ORVANE_WINDOWS_DIR ${PROJECT_BINARY_DIR}/windows)
file(MAKE_DIRECTORY ${ORVANE_WINDOWS_DIR}/icons)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dist/orvane.svg)

find_program(ORVANE_RSVG_CONVERT rsvg-convert)
find_program(ORVANE_ICOTOOL icotool)
if(ORVANE_RSVG_CONVERT AND ORVANE_ICOTOOL)
  set(pngs)
  set(files)
  foreach(size 16 24 32 48 64 128 256)
    execute_process(COMMAND ${ORVANE_RSVG_CONVERT} -w ${size} -h ${size} -o ${ORVANE_WINDOWS_DIR}/icons/orvane-${size}.png
                            ${PROJECT_SOURCE_DIR}/dist/orvane.svg COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND pngs ${ORVANE_WINDOWS_DIR}/icons/orvane-${size}.png)
    string(APPEND files "    <file>orvane-${size}.png</file>\n")
  endforeach()
  # The largest size stays PNG inside the .ico, as Windows expects.
  list(POP_BACK pngs largest)
  execute_process(COMMAND ${ORVANE_ICOTOOL} -c -o ${ORVANE_WINDOWS_DIR}/orvane.ico ${pngs} -r ${largest}
                  COMMAND_ERROR_IS_FATAL ANY)
  file(WRITE ${ORVANE_WINDOWS_DIR}/icons/orvane.qrc
       "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/icons\">\n${files}  </qresource>\n</RCC>\n")
  set(ORVANE_ICON_QRC ${ORVANE_WINDOWS_DIR}/icons/orvane.qrc)
  set(ORVANE_WINDOWS_ICON_LINE "1 ICON \"${ORVANE_WINDOWS_DIR}/orvane.ico\"")
elseif(CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "The Windows icon needs rsvg-convert and icotool (Debian: librsvg2-bin, icoutils)")
else()
  message(STATUS "rsvg-convert or icotool missing: the programs carry no icon, the window shows the SVG")
  set(ORVANE_WINDOWS_ICON_LINE "")
endif()

set(ORVANE_WINDOWS_VERSION_COMMAS ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    string(APPEND ORVANE_WINDOWS_VERSION_COMMAS ",0")
  else()
    string(APPEND ORVANE_WINDOWS_VERSION_COMMAS ",${PROJECT_VERSION_${part}}")
  endif()
endforeach()
string(REPLACE "," "." ORVANE_WINDOWS_VERSION ${ORVANE_WINDOWS_VERSION_COMMAS})

# orvane_windows_resources(target description): the manifest, version and
# icon of the program built by target.
function(orvane_windows_resources target description)
  set(ORVANE_WINDOWS_PROGRAM ${target})
  set(ORVANE_WINDOWS_DESCRIPTION ${description})
  set(ORVANE_WINDOWS_MANIFEST ${ORVANE_WINDOWS_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/dist/windows/orvane.manifest.in ${ORVANE_WINDOWS_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/dist/windows/program.rc.in ${ORVANE_WINDOWS_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${ORVANE_WINDOWS_DIR}/${target}.rc)
  if(MSVC)
    # The manifest comes from the resource only.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()
