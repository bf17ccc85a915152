# The renderer: image loading, image descriptions, drawing into 32-bit DIBs,
# plain and mark-up text.
set(_rend_res ${CMAKE_CURRENT_BINARY_DIR}/renderer_resources)
file(MAKE_DIRECTORY ${_rend_res})
# Resource 7 of type IMGRES: a 2 x 2 24-bit BMP, top row red and green,
# bottom row blue and white.
file(WRITE ${_rend_res}/RendererTestResources.rc
     "7 IMGRES\nBEGIN\n"
     "  0x4D42, 0x0046, 0x0000, 0x0000, 0x0000, 0x0036, 0x0000, 0x0028, 0x0000,\n"
     "  0x0002, 0x0000, 0x0002, 0x0000, 0x0001, 0x0018, 0x0000, 0x0000, 0x0010,\n"
     "  0x0000, 0x0B13, 0x0000, 0x0B13, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,\n"
     "  0x00FF, 0xFF00, 0xFFFF, 0x0000, 0x0000, 0x00FF, 0x00FF, 0x0000\n"
     "END\n")

uninst_add_test(ui_renderer_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererLoadImageTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ImageDescriptionTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererDrawImageTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererShapesTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererTextTests.cpp
          ${_rend_res}/RendererTestResources.rc
  LIBS skinui)

# Images read from a skin archive in memory: the archive is process-wide and
# stays once set, so these run in a program of their own.
uninst_add_test(ui_renderer_zip_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererZipImageTests.cpp
  LIBS skinui)
