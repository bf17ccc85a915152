# The renderer: image loading and drawing, colours, gradients, outlines,
# plain and mark-up text, clip guards; the msimg32 loader shared with the
# window manager.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Msimg32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClipRegionUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoftwareAlphaBlend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererColor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererShapes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererDrawImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StbImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererLoadImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageCacheUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageDescriptionUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererImageDescription.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RendererMarkupText.cpp)
