# The windowed program. Widget code lives here; logic it needs belongs in the core library.
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets Multimedia)

add_library(vitrina_ui STATIC
  src/screen/skin_window.cpp
  src/app/program_options.cpp
  src/app/start_failure.cpp
  src/dialogs/eff_car.cpp
  src/platform/click_sound.cpp
  src/platform/shell_desktop.cpp
  src/platform/quiet_start.cpp
  src/platform/device_pixels.cpp
  src/platform/picture_label.cpp
  src/screen/screens.cpp
  src/screen/skinned_controls.cpp
  src/dialogs/control_pictures.cpp
  src/screen/text_msg.cpp
  src/screen/status_line.cpp
  src/screen/path_input_box.cpp
  src/screen/scale_bar.cpp
  src/screen/panel_bkgrd.cpp
  src/media/video_area.cpp
  src/media/frame_image.cpp
  src/media/mplayer.cpp
  src/media/background_music.cpp
  src/media/sound.cpp
  src/media/slide_image.cpp
  src/media/media_parts.cpp
  src/media/decoder_choice.cpp
  src/media/window_clip.cpp
  src/media/start_clip.cpp
  src/dialogs/form_options.cpp
  src/html/engine_process.cpp
  src/app/html_module_loader.cpp
)
target_link_libraries(vitrina_ui PUBLIC vitrina_core Qt6::Gui Qt6::Widgets Qt6::Multimedia)
# Where the HTML module is installed, from the program's folder.
include(GNUInstallDirs)
set(VITRINA_MODULE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/vitrina)
file(RELATIVE_PATH VITRINA_MODULE_FOLDER ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${VITRINA_MODULE_DESTINATION})
set_property(SOURCE src/app/html_module_loader.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS VITRINA_MODULE_FOLDER="${VITRINA_MODULE_FOLDER}")

# The program exports its own symbols, and links the window and core libraries whole: the HTML
# module resolves what it uses of them against the program, so each piece of the program's state
# (settings, drive map, window directory, every static) exists once.
add_executable(vitrina src/app/main.cpp)
target_link_libraries(vitrina PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,vitrina_ui>")
set_target_properties(vitrina PROPERTIES ENABLE_EXPORTS ON LINK_LIBRARY_OVERRIDE_vitrina_core WHOLE_ARCHIVE)
target_compile_definitions(vitrina PRIVATE VITRINA_VERSION="${PROJECT_VERSION}")

# The HTML part, loaded by the program when a document is first needed (src/html/html_module.h):
# the engine classes, the HTML pane, printing and the font dialog, and all that links Qt
# WebEngine, Qt Pdf and Qt Print Support. The code is a library of its own, which the module and
# the tests link; the module links none of the program's libraries.
find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets)
add_library(vitrina_html_code STATIC
  src/html/doc_scheme_handler.cpp
  src/html/doc_engine.cpp
  src/html/doc_request_guard.cpp
  src/html/doc_page.cpp
  src/html/link_policy.cpp
  src/html/frame_viewer.cpp
  src/html/html_viewer.cpp
  src/panes/html_frame.cpp
  src/panes/html_pane.cpp
)
set_target_properties(vitrina_html_code PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(vitrina_html_code PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(vitrina_html_code PUBLIC Qt6::WebEngineWidgets Qt6::Widgets Qt6::Gui Qt6::Core)
# The script the viewers inject into every document.
qt_add_resources(vitrina_html_code viewer_script PREFIX /html BASE src/html FILES src/html/viewer_script.js)
add_library(vitrina_html MODULE src/html/html_module.cpp)
target_link_libraries(vitrina_html PRIVATE vitrina_html_code)
set_target_properties(vitrina_html PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The program is of no use without it.
add_dependencies(vitrina vitrina_html)
include(${CMAKE_CURRENT_LIST_DIR}/ui_panes.cmake)
