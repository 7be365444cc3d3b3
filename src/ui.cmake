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
)
target_link_libraries(vitrina_ui PUBLIC vitrina_core Qt6::Gui Qt6::Widgets Qt6::Multimedia)

add_executable(vitrina src/app/main.cpp)
target_link_libraries(vitrina PRIVATE vitrina_ui)
target_compile_definitions(vitrina PRIVATE VITRINA_VERSION="${PROJECT_VERSION}")

# The HTML engine classes and the HTML pane.
find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets Quick)
target_sources(vitrina_ui PRIVATE
  src/html/doc_scheme_handler.cpp
  src/html/doc_engine.cpp
  src/html/doc_request_guard.cpp
  src/html/doc_page.cpp
  src/html/frame_viewer.cpp
  src/html/html_viewer.cpp
  src/panes/html_frame.cpp
)
target_link_libraries(vitrina_ui PUBLIC Qt6::WebEngineWidgets Qt6::Quick)
# The script the viewers inject into every document.
qt_add_resources(vitrina_ui viewer_script PREFIX /html BASE src/html FILES src/html/viewer_script.js)
include(${CMAKE_CURRENT_LIST_DIR}/ui_panes.cmake)
