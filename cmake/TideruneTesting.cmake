include(GoogleTest)

# tiderune_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# A Qt-free GoogleTest executable with gtest_main.
function(tiderune_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE TIDERUNE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "TIDERUNE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# tiderune_qt_test(NAME name SOURCES ... LIBS ...)
# A GoogleTest executable with its own main() (tests/qt_test_main.cpp) that makes a
# QApplication; runs offscreen.
function(tiderune_qt_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/qt_test_main.cpp)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE TIDERUNE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TIDERUNE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
