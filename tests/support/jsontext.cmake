# JSON text checks for tests: member order and UTF-8 well-formedness.
target_sources(test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/JsonText.cpp)
