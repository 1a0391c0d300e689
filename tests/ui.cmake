# The controls, created for real in a window of the test's own, under Wine.
lanhosts_add_test(ui_controls_tests SOURCES ui_controls_test.cpp test_support.cpp LIBS lanhosts_win)
