# src/screen: The skinned main window, its controls and auxiliary widgets.
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/screen/panel_bkgrd.cpp
    src/screen/path_input_box.cpp
    src/screen/scale_bar.cpp
    src/screen/screens.cpp
    src/screen/skin_window.cpp
    src/screen/skinned_controls.cpp
    src/screen/status_line.cpp
    src/screen/text_msg.cpp
  )
endif()
