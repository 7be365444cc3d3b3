# src/html: The engine classes over Qt WebEngine; document URLs, content types, history, visible text, entities.
target_sources(vitrina_core PRIVATE
  src/html/doc_mime.cpp
  src/html/doc_url.cpp
  src/html/history_list.cpp
  src/html/html_entities.cpp
  src/html/visible_text.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/html/engine_process.cpp
  )
endif()
if(TARGET vitrina_html_code)
  target_sources(vitrina_html_code PRIVATE
    src/html/doc_engine.cpp
    src/html/doc_page.cpp
    src/html/doc_request_guard.cpp
    src/html/doc_scheme_handler.cpp
    src/html/frame_viewer.cpp
    src/html/html_viewer.cpp
    src/html/link_policy.cpp
  )
endif()
