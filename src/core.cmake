# The program's three libraries, the modules each links, and the folders with files in each; a
# folder's src/<folder>/sources.cmake lists its files by library.
#
#   library            links                                  folders with files in it
#   vitrina_core       Qt Core, Qt Network (privately),       archive, commands, dialogs, html,
#                      libdeflate, zlib, libarchive, chmlib;  imaging, media, panes, platform,
#                      no widget module                       print, resources, search, session,
#                                                             setup
#   vitrina_ui         vitrina_core, Qt Gui, Widgets,         app, dialogs, html, media, panes,
#                      Multimedia                             platform, screen, search, skin
#   vitrina_html_code  Qt WebEngine Widgets, Pdf, Print       dialogs, html, panes, print, widgets
#                      Support: the HTML module
#                      (vitrina_html.so), which links neither
#                      library above
#
# The core library holds the logic and all the tests run without a window.
add_library(vitrina_core STATIC)
target_include_directories(vitrina_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(vitrina_core PUBLIC Qt6::Core PkgConfig::LIBDEFLATE ZLIB::ZLIB)
# Local sockets between copies of the program; private, so that no header of the core names it.
find_package(Qt6 REQUIRED COMPONENTS Network)
target_link_libraries(vitrina_core PRIVATE Qt6::Network)

# RAR archives through libarchive.
target_link_libraries(vitrina_core PRIVATE PkgConfig::LIBARCHIVE)

# Search by word forms: Xapian, private, so that no header of the core names it.
pkg_check_modules(XAPIAN REQUIRED IMPORTED_TARGET xapian-core)
target_link_libraries(vitrina_core PRIVATE PkgConfig::XAPIAN)

# CHM help files, read with chmlib.
find_path(CHM_INCLUDE_DIR chm_lib.h REQUIRED)
find_library(CHM_LIBRARY chm REQUIRED)
target_include_directories(vitrina_core PRIVATE ${CHM_INCLUDE_DIR})
target_link_libraries(vitrina_core PRIVATE ${CHM_LIBRARY})
