# The controls of the main window: the host list, the status line and the link
# label. The status line's pane list is portable and part of the core.
target_sources(lanhosts_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/status_panes.cpp)
if(WIN32)
    target_sources(lanhosts_win PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/common_controls.cpp
        ${CMAKE_CURRENT_LIST_DIR}/shell_calls.cpp
        ${CMAKE_CURRENT_LIST_DIR}/host_list.cpp
        ${CMAKE_CURRENT_LIST_DIR}/status_line.cpp
        ${CMAKE_CURRENT_LIST_DIR}/link_label.cpp
        ${CMAKE_CURRENT_LIST_DIR}/window_classes.cpp)
endif()
