# The portable part of the controls: the status line's pane list.
lanhosts_add_test(ui_core_tests SOURCES status_panes_test.cpp test_support.cpp LIBS lanhosts_core)
