# What an installed program needs beside its binary (menu entry, icon, software
# centre description), and the Debian package made from it by CPack.
# The catalog, the icons and the Qt translations need no files of their own: the
# first two are compiled into the program, the last come from the Qt packages.

set(TOLVA_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
configure_file(${TOLVA_DESKTOP_DIR}/${TOLVA_APP_ID}.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/${TOLVA_APP_ID}.metainfo.xml @ONLY)

install(FILES ${TOLVA_DESKTOP_DIR}/${TOLVA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/editeur-tolva.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${TOLVA_APP_ID}.svg)
install(FILES ${PROJECT_BINARY_DIR}/${TOLVA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The journal's creation scripts, for the database administrator.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/journal/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/editeur-tolva/journal
  FILES_MATCHING PATTERN "*.sql")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME editeur-tolva)
set(CPACK_PACKAGE_VENDOR "Editeur TOLVA")
set(CPACK_PACKAGE_CONTACT "Editeur TOLVA <tolva@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Limites de contrôle et de spécification des moniteurs SPC NOVRAX (ODBC)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Libraries the binary links come from dpkg-shlibdeps; the rest is loaded at run
# time: the ODBC SQL driver and SVG icon plugins, the French Qt texts, and the
# driver manager's configuration tools (odbcinst) that users define sources with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6svg6 (>= 6.4), libqt6sql6-odbc (>= 6.4), unixodbc, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-postgresql, odbc-mariadb, libsqliteodbc")
set(CPACK_STRIP_FILES ON)
include(CPack)
