# The core library: everything that runs without a window. It links no widget module.
add_library(vitrina_core STATIC
  src/platform/cp1251.cpp
  src/platform/regular_file.cpp
  src/resources/drive_map.cpp
  src/resources/document_reach.cpp
  src/platform/user_folders.cpp
  src/platform/software_drawing.cpp
  src/resources/find_files.cpp
  src/resources/read_bin.cpp
  src/resources/container_writer.cpp
  src/resources/description.cpp
  src/resources/windows_path.cpp
  src/resources/description_scrambler.cpp
  src/resources/store.cpp
  src/resources/store_writer.cpp
  src/resources/compr_stream.cpp
  src/resources/record_reader.cpp
  src/resources/screen_model.cpp
  src/resources/about_description.cpp
  src/resources/dialog_description.cpp
  src/html/html_entities.cpp
  src/html/visible_text.cpp
  src/search/index_builder.cpp
  src/search/make_find.cpp
  src/search/make_tesaurus_find.cpp
  src/search/document_scan.cpp
  src/resources/struct_loader.cpp
  src/panes/contents_tree_model.cpp
  src/archive/archive_listing.cpp
  src/archive/archive_page_files.cpp
  src/archive/unrar.cpp
  src/panes/html_favorite.cpp
  src/panes/history_items.cpp
  src/dialogs/popup_layout.cpp
  src/panes/standard_window_geometry.cpp
)
target_include_directories(vitrina_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(vitrina_core PUBLIC Qt6::Core PkgConfig::LIBDEFLATE ZLIB::ZLIB)
# Local sockets between copies of the program; private, so that no header of the core names it.
find_package(Qt6 REQUIRED COMPONENTS Network)
target_link_libraries(vitrina_core PRIVATE Qt6::Network)

# The main window's logic: command recognition, settings, the registry stand-in, the
# animation timer, the blend.
target_sources(vitrina_core PRIVATE
  src/commands/command_recognition.cpp
  src/session/settings.cpp
  src/session/disc_session.cpp
  src/commands/dispatcher.cpp
  src/commands/busy.cpp
  src/platform/registry.cpp
  src/platform/single_instance.cpp
  src/platform/process_id.cpp
  src/platform/command_line_message.cpp
  src/platform/local_frame_server.cpp
  src/platform/window_directory.cpp
  src/platform/request_record.cpp
  src/platform/copy_data_channel.cpp
  src/platform/program_copy.cpp
  src/platform/help_viewer.cpp
  src/platform/chm_file.cpp
  src/platform/wine.cpp
  src/setup/font_installer.cpp
  src/setup/setup_service.cpp
  src/media/super_timer.cpp
  src/media/media_log.cpp
  src/media/mci_errors.cpp
  src/media/volume_fade.cpp
  src/media/player_rules.cpp
  src/setup/codec_setup.cpp
  src/dialogs/options_values.cpp
  src/imaging/blend.cpp
  src/imaging/color_names.cpp
)

# The HTML pane's logic: document URLs, content types, history and visited lists, link rules,
# visit groups, copying into the path box's folder, the font values in the settings store.
target_sources(vitrina_core PRIVATE
  src/html/doc_url.cpp
  src/html/doc_mime.cpp
  src/html/history_list.cpp
  src/panes/follow_link.cpp
  src/panes/visit_groups.cpp
  src/panes/html_file_copier.cpp
  src/panes/html_font_values.cpp
)

# RAR archives: the classic unpacking library's operations over libarchive, and the pass that
# lists or unpacks an archive through them.
target_sources(vitrina_core PRIVATE
  src/archive/rar_result.cpp
  src/archive/rar_volumes.cpp
  src/archive/rar_archive.cpp
  src/archive/rar_pass.cpp
)
target_link_libraries(vitrina_core PRIVATE PkgConfig::LIBARCHIVE)

# CHM help files, read with chmlib.
find_path(CHM_INCLUDE_DIR chm_lib.h REQUIRED)
find_library(CHM_LIBRARY chm REQUIRED)
target_include_directories(vitrina_core PRIVATE ${CHM_INCLUDE_DIR})
target_link_libraries(vitrina_core PRIVATE ${CHM_LIBRARY})
