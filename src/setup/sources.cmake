# src/setup: Fonts and games.
target_sources(vitrina_core PRIVATE
  src/setup/font_installer.cpp
  src/setup/setup_service.cpp
)
