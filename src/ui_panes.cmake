# Panes and popups of the window: popup windows, contents trees.
target_sources(vitrina_ui PRIVATE
  src/dialogs/popup_window.cpp
  src/dialogs/cool_dialog.cpp
  src/dialogs/about_window.cpp
  src/dialogs/zip_save_dialog.cpp
  src/panes/tree_views.cpp
  src/app/window_parts.cpp
)

# The font dialog of the HTML pane, with its sample document.
target_sources(vitrina_html_code PRIVATE
  src/dialogs/font_form.cpp
  src/dialogs/html_font_chooser.cpp
  src/widgets/color_grid.cpp
)

# The find pane, the find dialog's searches and the thesaurus.
target_sources(vitrina_ui PRIVATE
  src/search/find_pane.cpp
  src/search/search_service.cpp
  src/search/word_search_window.cpp
)

# The standard window and the requests between copies.
target_sources(vitrina_ui PRIVATE
  src/panes/standard_window.cpp
  src/app/program_parts.cpp
  src/app/program.cpp
)
