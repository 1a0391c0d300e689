# Hostile inputs and the shipped binary: fixture networks that push the scan's
# rules through the real program, closes during the scan, the exe's imports,
# flags and DLL search, all under Wine.
add_executable(heap_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/hostile/heap_probe.cpp)
target_link_libraries(heap_probe PRIVATE lanhosts_win)

add_executable(hostile_tests ${CMAKE_CURRENT_LIST_DIR}/hostile/hostile_test.cpp)
target_link_libraries(hostile_tests PRIVATE lanhosts_core lanhosts_flags GTest::gtest GTest::gtest_main user32 ws2_32)
target_compile_definitions(hostile_tests PRIVATE
    LANHOSTS_EXE="Z:$<TARGET_FILE:lanhosts>"
    LANHOSTS_HEAP_PROBE="Z:$<TARGET_FILE:heap_probe>"
    LANHOSTS_FIXTURE_DIR="Z:${CMAKE_SOURCE_DIR}/tests/fixtures")
add_dependencies(hostile_tests lanhosts heap_probe lanhosts_netfixture)
# The 5000 servers take the longest: their two runs are entries of their own,
# so that CTest runs them beside the rest.
add_test(NAME hostile_tests COMMAND hostile_tests --gtest_filter=-*Servers5000)
add_test(NAME hostile_tests_5000_rows COMMAND hostile_tests --gtest_filter=*.ShowsTheRows*/Servers5000)
add_test(NAME hostile_tests_5000_blocks COMMAND hostile_tests --gtest_filter=*.EveryBlockIsReleased/Servers5000)
set_tests_properties(hostile_tests hostile_tests_5000_rows hostile_tests_5000_blocks
    PROPERTIES FIXTURES_REQUIRED wineprefix)

add_executable(close_stress_tests ${CMAKE_CURRENT_LIST_DIR}/hostile/close_stress_test.cpp)
target_link_libraries(close_stress_tests PRIVATE lanhosts_core lanhosts_flags GTest::gtest GTest::gtest_main user32)
target_compile_definitions(close_stress_tests PRIVATE
    LANHOSTS_EXE="Z:$<TARGET_FILE:lanhosts>"
    LANHOSTS_FIXTURE_DIR="Z:${CMAKE_SOURCE_DIR}/tests/fixtures")
add_dependencies(close_stress_tests lanhosts lanhosts_netfixture)
add_test(NAME close_stress_tests COMMAND close_stress_tests)
set_tests_properties(close_stress_tests PROPERTIES FIXTURES_REQUIRED wineprefix)
