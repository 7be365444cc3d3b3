# src/commands: Command recognition and the dispatcher.
target_sources(vitrina_core PRIVATE
  src/commands/command_recognition.cpp
  src/commands/dispatcher.cpp
)
