# Printing and its preview: the sheet geometry and the preview's logic in the core library, the
# page recorder and the windows in the HTML module.
target_sources(vitrina_core PRIVATE
  src/print/print_geometry.cpp
  src/print/preview_state.cpp
  src/print/handed_print_file.cpp
)
# The preview and printing are the HTML module's (they print the engine's pages).
if(TARGET vitrina_html_code)
  find_package(Qt6 REQUIRED COMPONENTS PrintSupport Pdf)
  target_sources(vitrina_html_code PRIVATE
    src/print/pdf_pages.cpp
    src/print/meta_file_printer.cpp
    src/print/page_formatter.cpp
    src/print/prn_status_form.cpp
    src/print/go_page_form.cpp
    src/print/preview_cursors.cpp
    src/print/page_number_header.cpp
    src/print/preview_form.cpp
    src/print/print_service.cpp
    src/print/pdf_export.cpp
  )
  target_link_libraries(vitrina_html_code PUBLIC Qt6::PrintSupport Qt6::Pdf)
endif()
