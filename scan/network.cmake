# The neighbourhood walk and the router calls it makes (MPR is loaded at run
# time from the system directory, so nothing links against mpr).
target_sources(lanhosts_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/mpr_calls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wnet.cpp)
