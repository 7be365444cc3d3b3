# Installation as any Linux program, and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

install(TARGETS vitrina-disc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/vitrina-disc.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET vitrina)
  install(TARGETS vitrina RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The HTML module, in the program's own library folder, where it looks for it.
  install(TARGETS vitrina_html LIBRARY DESTINATION ${VITRINA_MODULE_DESTINATION})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/vitrina.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/vitrina.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/vitrina.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
# The sample disc, for a first look: vitrina --disc /usr/share/vitrina/sample-disc
install(DIRECTORY ${CMAKE_BINARY_DIR}/sample-disc/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vitrina/sample-disc)

set(CPACK_PACKAGE_NAME vitrina)
set(CPACK_PACKAGE_VENDOR "Vitrina")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shell for electronic reference discs")
set(CPACK_PACKAGE_DESCRIPTION
  "Vitrina opens an electronic reference disc (its skin container, document store and index\n\
files) in a shaped window painted from the disc's own skin, with its documents, contents\n\
trees, search, music, clips, slides, archives and printing. vitrina-disc inspects, extracts\n\
and builds such discs. A small sample disc is included.")
set(CPACK_PACKAGE_CONTACT "Vitrina developers <vitrina@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# Libraries from dpkg-shlibdeps (the web engine's helper process comes with its library's
# entry); what is loaded at run time, not linked, named here: the media back end's plugins.
# Links open through xdg-open; a disc's Windows programs run through wine.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good, gstreamer1.0-libav, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine, xvfb")
include(CPack)
