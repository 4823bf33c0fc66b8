# Where the programs and their files go when installed, and the .deb that
# carries them (cpack -G DEB in the build folder).

include(GNUInstallDirs)

install(TARGETS tabulift-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants manual pages compressed.
set(TABULIFT_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/tabulift-cli.1.gz)
add_custom_command(OUTPUT ${TABULIFT_MANPAGE}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/docs/tabulift-cli.1 > ${TABULIFT_MANPAGE}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/tabulift-cli.1 VERBATIM)
add_custom_target(tabulift_manpage ALL DEPENDS ${TABULIFT_MANPAGE})
install(FILES ${TABULIFT_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES examples/lieder.mdb DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

if(TABULIFT_BUILD_GUI)
  install(TARGETS tabulift RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES app/tabulift.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48 64 128 256)
    install(FILES app/icons/tabulift-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tabulift.png)
  endforeach()
  install(FILES app/icons/tabulift.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulift)
set(CPACK_PACKAGE_VENDOR Hymnora)
set(CPACK_PACKAGE_CONTACT "Hymnora Tabulift <tabulift@hymnora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Access song databases to Hymnora song files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Converts a song collection kept in a Microsoft Access database (.mdb, .accdb)\n\
into song files (.sng) of the Hymnora presentation program, one per row, with\n\
the columns mapped to the song's fields mostly by themselves. A window\n\
(tabulift) and a command-line converter for whole collections (tabulift-cli).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link to become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is laid out for fonts of Arial's widths.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# Qt's dialogs in the desktop's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)
