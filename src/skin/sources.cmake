# src/skin: What a skinned control shows: pictures, carriers, cross-fades.
if(TARGET vitrina_ui)
  target_sources(vitrina_ui PRIVATE
    src/skin/control_pictures.cpp
    src/skin/eff_car.cpp
  )
endif()
