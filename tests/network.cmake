# The neighbourhood walk, through Wine's router and the fixture provider.
lanhosts_add_test(wnet_tests SOURCES wnet_test.cpp test_support.cpp LIBS lanhosts_win)
# Wine sees the source tree under Z:.
target_compile_definitions(wnet_tests PRIVATE LANHOSTS_FIXTURE_DIR="Z:${CMAKE_SOURCE_DIR}/tests/fixtures")
add_dependencies(wnet_tests lanhosts_netfixture)
