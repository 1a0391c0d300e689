# The lookups: against Winsock under Wine with the fixture hosts file, and
# against replaced call tables.
lanhosts_add_test(lookup_tests SOURCES lookup_test.cpp test_support.cpp LIBS lanhosts_win)
