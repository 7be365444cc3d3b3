# src/session: The shown disc's state and its settings.
target_sources(vitrina_core PRIVATE
  src/session/busy.cpp
  src/session/disc_session.cpp
  src/session/settings.cpp
)
