# src/print: Page formatting, preview, printing, PDF output.
target_sources(vitrina_core PRIVATE
  src/print/handed_print_file.cpp
  src/print/preview_state.cpp
  src/print/print_geometry.cpp
)
if(TARGET vitrina_html_code)
  target_sources(vitrina_html_code PRIVATE
    src/print/go_page_form.cpp
    src/print/meta_file_printer.cpp
    src/print/page_formatter.cpp
    src/print/page_number_header.cpp
    src/print/pdf_export.cpp
    src/print/pdf_pages.cpp
    src/print/preview_cursors.cpp
    src/print/preview_form.cpp
    src/print/print_service.cpp
    src/print/prn_status_form.cpp
  )
endif()
