# Seeded corruption of the shipped skin files, built, laid out and painted;
# the block allocator puts a guard page after every block when asked
# (UNINST_GUARD_PAGES=1). The full run: UNINST_CORRUPTION_CASES=100000.
uninst_add_test(ui_skin_corruption_tests TIMEOUT 600
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinCorruptionRunTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/support/GuardPageNew.cpp
  LIBS skinui test_support)
# A short run with the guard pages on, and the process holding more live
# blocks than can be guarded at once.
uninst_gtest_entry(ui_skin_corruption_guarded ui_skin_corruption_tests TIMEOUT 300
                   ENV "UNINST_GUARD_PAGES=1" "UNINST_CORRUPTION_CASES=300")
