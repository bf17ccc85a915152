# Statistics events of the uninstaller and the questionnaire exchange.
target_sources(uninstaller_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/StatisticsEvents.cpp)
target_link_libraries(uninstaller_core PUBLIC version)
