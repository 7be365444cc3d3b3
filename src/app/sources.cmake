# src/app: Start-up: the options, the start failure, the module loader; the window parts that wire the panes.
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/app/html_module_loader.cpp
    src/app/pane_commands.cpp
    src/app/pane_questions.cpp
    src/app/program.cpp
    src/app/program_options.cpp
    src/app/program_parts.cpp
    src/app/scale_fit.cpp
    src/app/start_failure.cpp
    src/app/window_parts.cpp
  )
endif()
