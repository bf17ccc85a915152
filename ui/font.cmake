# Creating the skins' fonts (sizes, missing faces).
target_sources(skinui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinFont.cpp)
