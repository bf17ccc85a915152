# Mark-up text layout time against the text's length (printed ratios).
add_executable(MarkupTextBench ${CMAKE_CURRENT_LIST_DIR}/MarkupTextBench.cpp)
target_include_directories(MarkupTextBench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(MarkupTextBench PRIVATE skinui)
