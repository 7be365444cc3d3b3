# src/widgets: Small plain widgets.
if(TARGET vitrina_html_code)
  target_sources(vitrina_html_code PRIVATE
    src/widgets/color_grid.cpp
  )
endif()
