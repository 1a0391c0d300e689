# The host and hardware address lookups and their platform call tables.
target_sources(lanhosts_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/winsock_calls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lookup.cpp)
