# src/imaging: Colours and blends.
target_sources(vitrina_core PRIVATE
  src/imaging/blend.cpp
  src/imaging/color_names.cpp
)
