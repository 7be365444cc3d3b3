# src/resources: Container, descriptions and their record readers, Windows paths, drive map, document store, screen model, the help file.
target_sources(vitrina_core PRIVATE
  src/resources/about_description.cpp
  src/resources/compr_stream.cpp
  src/resources/container_writer.cpp
  src/resources/description.cpp
  src/resources/description_scrambler.cpp
  src/resources/dialog_description.cpp
  src/resources/document_reach.cpp
  src/resources/drive_map.cpp
  src/resources/find_files.cpp
  src/resources/help_viewer.cpp
  src/resources/read_bin.cpp
  src/resources/record_reader.cpp
  src/resources/screen_model.cpp
  src/resources/store.cpp
  src/resources/store_writer.cpp
  src/resources/struct_loader.cpp
  src/resources/windows_path.cpp
)
