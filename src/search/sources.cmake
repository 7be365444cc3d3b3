# src/search: Keyword index, thesaurus look-up, find pane, document scan.
target_sources(vitrina_core PRIVATE
  src/search/background_scan.cpp
  src/search/document_scan.cpp
  src/search/index_builder.cpp
  src/search/make_find.cpp
  src/search/make_tesaurus_find.cpp
  src/search/word_index.cpp
  src/search/disc_word_index.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/search/find_pane.cpp
    src/search/search_service.cpp
    src/search/word_search_window.cpp
  )
endif()
