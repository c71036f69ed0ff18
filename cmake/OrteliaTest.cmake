include(GoogleTest)
# ortelia_gtest(name SOURCES ... DEPS ... [LABELS ...]): one GoogleTest executable per unit,
# registered with ctest test by test.
function(ortelia_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ortelia_options ${T_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ORTELIA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    ORTELIA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # One label per test (the folder's, "threads" for the threaded ones): a list would be split into
  # separate property arguments by the discovery script.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()

# ortelia_gtest_folder(DEPS ... [LABELS ...]): every Test*.cpp of the calling folder becomes its own
# test executable named after the file.
function(ortelia_gtest_folder)
  cmake_parse_arguments(F "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Test*.cpp)
  foreach(_src ${_tests})
    get_filename_component(_name ${_src} NAME_WE)
    ortelia_gtest(${_name} SOURCES ${_src} DEPS ${F_DEPS} LABELS ${F_LABELS})
  endforeach()
endfunction()
