# Damaged database files at start-up. The probe makes the start-up on one
# folder's file in a child process; the test damages a sound file in many
# ways and judges each start from outside (crash, hang, the file's bytes).
add_executable(quorvane_startup_probe ${CMAKE_CURRENT_SOURCE_DIR}/reliability/StartupProbe.cpp)
target_link_libraries(quorvane_startup_probe PRIVATE quorvane_logic)

add_executable(quorvane_damaged_files
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/DamagedFileTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/reliability/DamagedFileMutations.cpp)
target_include_directories(quorvane_damaged_files PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorvane_damaged_files PRIVATE quorvane_logic GTest::gtest)
add_dependencies(quorvane_damaged_files quorvane_startup_probe)

# A sample of 78 files (six of each kind of damage) in every test run, and
# 1,300 (a hundred of each) in the long run: ctest -L long.
add_test(NAME DamagedFiles.Sample
  COMMAND quorvane_damaged_files --probe=$<TARGET_FILE:quorvane_startup_probe> --files=78)
add_test(NAME DamagedFiles.Long
  COMMAND quorvane_damaged_files --probe=$<TARGET_FILE:quorvane_startup_probe> --files=1300
          --gtest_filter=*EveryDamagedFile*)
set_tests_properties(DamagedFiles.Long PROPERTIES LABELS long TIMEOUT 14400)
