# cmake --install copies the bundle to <prefix>/lib/zq481k-viewer with a launcher in <prefix>/bin.
include(GNUInstallDirs)
set(ZQ_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/zq481k-viewer)
install(DIRECTORY ${ZQ_BUNDLE_DIR}/ DESTINATION ${ZQ_INSTALL_APPDIR}
        USE_SOURCE_PERMISSIONS PATTERN "config/*" EXCLUDE PATTERN "temp" EXCLUDE)
install(DIRECTORY DESTINATION ${ZQ_INSTALL_APPDIR}/config)
# The launchers find the bundle relative to themselves, so any --prefix works.
file(RELATIVE_PATH _zq_bin_to_app /${CMAKE_INSTALL_BINDIR} /${ZQ_INSTALL_APPDIR})
foreach(prog zq481k-viewer zq481k-tool)
  if(NOT TARGET ${prog})
    continue()
  endif()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/launchers/${prog}
       CONTENT "#!/bin/sh\nhere=$(dirname \"$(readlink -f \"$0\")\")\nexec \"$here/${_zq_bin_to_app}/${prog}\" \"$@\"\n")
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${prog} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/zq481k-viewer.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications OPTIONAL)
