# What `cmake --install` puts under its prefix: the two programs, their man
# pages, and for the window its desktop entry and icon.
include(GNUInstallDirs)
set(dist ${PROJECT_SOURCE_DIR}/dist)
install(TARGETS orvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${dist}/orvane-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(ORVANE_WITH_GUI)
  install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${dist}/orvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${dist}/orvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${dist}/orvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
