# cmake --install copies the bundle to <prefix>/lib/zq481k-viewer with a launcher in <prefix>/bin.
include(GNUInstallDirs)
set(ZQ_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/zq481k-viewer)
install(DIRECTORY ${ZQ_BUNDLE_DIR}/ DESTINATION ${ZQ_INSTALL_APPDIR}
        USE_SOURCE_PERMISSIONS PATTERN "config/*" EXCLUDE PATTERN "temp" EXCLUDE)
install(DIRECTORY DESTINATION ${ZQ_INSTALL_APPDIR}/config)
foreach(prog zq481k-viewer zq481k-tool)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/launchers/${prog}
       CONTENT "#!/bin/sh\nexec \"${CMAKE_INSTALL_PREFIX}/${ZQ_INSTALL_APPDIR}/${prog}\" \"$@\"\n")
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${prog} DESTINATION ${CMAKE_INSTALL_BINDIR} OPTIONAL)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/zq481k-viewer.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications OPTIONAL)
