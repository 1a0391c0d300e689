# Process-level tests: the program and a probe of the frame, run as processes.
add_executable(frame_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/program/frame_probe.cpp)
target_link_libraries(frame_probe PRIVATE lanhosts_win)
lanhosts_add_test(program_tests SOURCES program/program_test.cpp LIBS lanhosts_core)
target_compile_definitions(program_tests PRIVATE
    LANHOSTS_EXE="Z:$<TARGET_FILE:lanhosts>"
    LANHOSTS_PROBE="Z:$<TARGET_FILE:frame_probe>"
    LANHOSTS_FIXTURE_DIR="Z:${CMAKE_SOURCE_DIR}/tests/fixtures")
target_link_libraries(program_tests PRIVATE user32)
add_dependencies(program_tests lanhosts frame_probe)

# The real main window in this process (its icon resource comes along).
lanhosts_add_test(main_window_tests
    SOURCES main_window_test.cpp ${CMAKE_BINARY_DIR}/app/res/lanhosts.rc
    LIBS lanhosts_win)

# A look at the running program over the demo network, kept in the build tree.
add_test(NAME program_screenshot
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/program/screenshot ${CMAKE_SOURCE_DIR}/tools/wine-run
            ${CMAKE_BINARY_DIR}/wineprefix $<TARGET_FILE:lanhosts>
            Z:${CMAKE_SOURCE_DIR}/tests/fixtures/net/demo.net ${CMAKE_BINARY_DIR}/screenshot.png)
set_tests_properties(program_screenshot PROPERTIES FIXTURES_REQUIRED wineprefix RUN_SERIAL TRUE)
