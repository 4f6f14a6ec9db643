# rendolo_add_test(NAME SOURCES a.cpp ... [LIBS lib ...] [QT])
# One test executable per unit. Logic tests use GoogleTest; QT marks a QtTest
# (widget) test, which runs on the offscreen platform.
function(rendolo_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  endif()
  # Also compiled in, so a test binary run by hand finds the shared corpus.
  target_compile_definitions(${name} PRIVATE RENDOLO_SHARED_DIR_DEFAULT="${CMAKE_SOURCE_DIR}/../shared")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;RENDOLO_SOURCE_DIR=${CMAKE_SOURCE_DIR};RENDOLO_SHARED_DIR=${CMAKE_SOURCE_DIR}/../shared"
    TIMEOUT 300)
endfunction()
