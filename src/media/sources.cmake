# src/media: Device semantics, players, background music, clips, slides, codecs.
target_sources(vitrina_core PRIVATE
  src/media/codec_setup.cpp
  src/media/mci_errors.cpp
  src/media/media_log.cpp
  src/media/player_rules.cpp
  src/media/volume_fade.cpp
)
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/media/background_music.cpp
    src/media/decoder_choice.cpp
    src/media/frame_image.cpp
    src/media/media_parts.cpp
    src/media/mplayer.cpp
    src/media/slide_image.cpp
    src/media/sound.cpp
    src/media/start_clip.cpp
    src/media/video_area.cpp
    src/media/window_clip.cpp
  )
endif()
