# Installing: the program, the help document, the icon, the desktop entry and
# the MIME type in their Linux places. `cmake --install` uses the prefix
# /usr/local unless told otherwise; `cpack -G DEB` builds a Debian package for
# /usr. The MIME and desktop databases are refreshed by dpkg's triggers of
# shared-mime-info and desktop-file-utils.
include(GNUInstallDirs)

install(TARGETS vetra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VETRA_HELP_DOCUMENT} DESTINATION ${CMAKE_INSTALL_DATADIR}/vetra)
install(FILES data/vetra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/vetra-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME vetra.xml)
install(FILES data/vetra.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/vetra.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
  RENAME application-x-vetra-tree.svg)
# A direct install refreshes the databases itself; packages (installed under
# DESTDIR) leave it to dpkg's triggers.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
      execute_process(COMMAND ${update_mime} "${CMAKE_INSTALL_PREFIX}/share/mime")
    endif()
    if(update_desktop)
      execute_process(COMMAND ${update_desktop} "${CMAKE_INSTALL_PREFIX}/share/applications")
    endif()
  endif()
]])

set(CPACK_PACKAGE_NAME vetra)
set(CPACK_PACKAGE_VENDOR "Vetra")
set(CPACK_PACKAGE_CONTACT "Vetra maintainers <maintainers@vetra.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for tree documents (.vt): notes drawn as a diagram")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries found by dpkg-shlibdeps: Chinese glyphs for the
# interface, and what the office exports, sending and the association call.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "xdg-utils, shared-mime-info, desktop-file-utils, libreoffice-writer-nogui | libreoffice-writer, libreoffice-impress-nogui | libreoffice-impress")
include(CPack)
