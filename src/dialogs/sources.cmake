# src/dialogs: The skinned dialog, the about window, the settings and font dialogs.
target_sources(vitrina_core PRIVATE
  src/dialogs/options_values.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/dialogs/about_window.cpp
    src/dialogs/cool_dialog.cpp
    src/dialogs/form_options.cpp
    src/dialogs/zip_save_dialog.cpp
  )
endif()
if(TARGET vitrina_html_code)
  target_sources(vitrina_html_code PRIVATE
    src/dialogs/font_form.cpp
  )
endif()
