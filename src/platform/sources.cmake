# src/platform: Host stand-ins: registry files, 1251 codec, copies and their messages, desktop, wine, CHM files, the timer.
target_sources(vitrina_core PRIVATE
  src/platform/chm_file.cpp
  src/platform/command_line_message.cpp
  src/platform/copy_data_channel.cpp
  src/platform/cp1251.cpp
  src/platform/local_frame_server.cpp
  src/platform/process_id.cpp
  src/platform/program_copy.cpp
  src/platform/regular_file.cpp
  src/platform/registry.cpp
  src/platform/request_record.cpp
  src/platform/single_instance.cpp
  src/platform/software_drawing.cpp
  src/platform/super_timer.cpp
  src/platform/user_folders.cpp
  src/platform/window_directory.cpp
  src/platform/wine.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/platform/click_sound.cpp
    src/platform/device_pixels.cpp
    src/platform/picture_label.cpp
    src/platform/quiet_start.cpp
    src/platform/shell_desktop.cpp
  )
endif()
