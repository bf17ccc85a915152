# Skin XML parsing throughput: a skin-sized text and a text of several MB.
add_executable(XmlParseBench ${CMAKE_CURRENT_LIST_DIR}/XmlParseBench.cpp)
target_link_libraries(XmlParseBench PRIVATE skinui)
