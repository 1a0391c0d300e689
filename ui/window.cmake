target_sources(lanhosts_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/control_registry.cpp)
target_sources(lanhosts_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp)
