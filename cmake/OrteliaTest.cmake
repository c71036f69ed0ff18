include(GoogleTest)
# ortelia_gtest(name SOURCES ... DEPS ... [LABELS ...]): one GoogleTest executable per unit,
# registered with ctest test by test. Tests run from the build folder's tests/ directory.
function(ortelia_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ortelia_options ${T_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ORTELIA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS};unit" ENVIRONMENT "ORTELIA_TMP=${CMAKE_BINARY_DIR}/test-tmp")
endfunction()
