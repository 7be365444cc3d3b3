# src/archive: RAR access over libarchive, archive pages and extraction.
target_sources(vitrina_core PRIVATE
  src/archive/archive_listing.cpp
  src/archive/archive_page_files.cpp
  src/archive/rar_archive.cpp
  src/archive/rar_pass.cpp
  src/archive/rar_result.cpp
  src/archive/rar_volumes.cpp
  src/archive/unrar.cpp
)
