# src/panes: The HTML pane, trees, standard window, popups, history and favorites.
target_sources(vitrina_core PRIVATE
  src/panes/contents_tree_model.cpp
  src/panes/follow_link.cpp
  src/panes/history_items.cpp
  src/panes/html_favorite.cpp
  src/panes/html_file_copier.cpp
  src/panes/html_font_values.cpp
  src/panes/popup_layout.cpp
  src/panes/standard_window_geometry.cpp
  src/panes/visit_groups.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/panes/popup_window.cpp
    src/panes/standard_window.cpp
    src/panes/tree_views.cpp
  )
endif()
if(TARGET vitrina_html_code)
  target_sources(vitrina_html_code PRIVATE
    src/panes/html_font_chooser.cpp
    src/panes/html_frame.cpp
    src/panes/html_pane.cpp
  )
endif()
