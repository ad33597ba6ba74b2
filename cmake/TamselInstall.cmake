# Installation: `cmake --install build --prefix PREFIX` lays the program out
# as it finds its files when installed (see src/shell/programfiles.h):
#   bin/tamsel, bin/tamselctl
#   lib/orvak-tamsel/       the libraries they load at run time, found by
#                           the executables' run path
#   share/orvak-tamsel/     Resource/videotransfer.rcc, translations/, HELP/
#                           (and Lang/ with the one translation chosen by
#                           TAMSEL_LANG)
#   share/applications, share/icons/hicolor, share/metainfo
#                           what the desktop knows the program by
# The layout is fixed, not taken from GNUInstallDirs: the program finds its
# data and libraries relative to its own bin folder.
set(TAMSEL_PRIVATE_LIB_DIR lib/orvak-tamsel)
set(TAMSEL_DATA_DIR share/orvak-tamsel)

set_target_properties(tamsel tamselctl PROPERTIES INSTALL_RPATH "$ORIGIN/../${TAMSEL_PRIVATE_LIB_DIR}")
install(TARGETS tamsel tamselctl RUNTIME DESTINATION bin)
install(TARGETS kelvraapi tamselconverter tamselplayer LIBRARY DESTINATION ${TAMSEL_PRIVATE_LIB_DIR})

install(FILES ${TAMSEL_BIN_DIR}/Resource/videotransfer.rcc DESTINATION ${TAMSEL_DATA_DIR}/Resource)
install(FILES ${TAMSEL_QM_FILES} DESTINATION ${TAMSEL_DATA_DIR}/translations)
if(TAMSEL_LANG)
    install(FILES ${CMAKE_BINARY_DIR}/translations/Tamsel_${TAMSEL_LANG}.qm DESTINATION ${TAMSEL_DATA_DIR}/Lang)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/HELP DESTINATION ${TAMSEL_DATA_DIR})
# The pictures the build took of the program for the help pages.
install(DIRECTORY ${TAMSEL_BIN_DIR}/HELP/images DESTINATION ${TAMSEL_DATA_DIR}/HELP PATTERN .taken EXCLUDE)

set(desktop_src ${CMAKE_SOURCE_DIR}/resources/desktop)
set(desktop_bin ${CMAKE_BINARY_DIR}/resources/desktop)
install(FILES ${desktop_src}/com.orvak.Tamsel.desktop DESTINATION share/applications)
install(FILES ${desktop_bin}/com.orvak.Tamsel.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/Resources/Default/app-64.svg
    DESTINATION share/icons/hicolor/scalable/apps RENAME com.orvak.Tamsel.svg)
install(DIRECTORY ${desktop_bin}/icons/hicolor DESTINATION share/icons)
install(FILES ${desktop_src}/copyright DESTINATION share/doc/orvak-tamsel)
