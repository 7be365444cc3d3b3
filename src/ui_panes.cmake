# Panes and popups of the window: popup windows, contents trees.
target_sources(vitrina_ui PRIVATE
  src/dialogs/popup_window.cpp
  src/panes/tree_views.cpp
  src/app/window_parts.cpp
)
