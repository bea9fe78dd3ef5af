# vimora_library(NAME SOURCES ... LIBS ...): a static library of the project with src/ on its include path.
function(vimora_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# vimora_test(NAME SOURCES ... LIBS ... [GUI]): one GoogleTest executable registered with ctest.
# GUI tests get a QApplication, the others a QGuiApplication; both run on the offscreen platform.
function(vimora_test name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  if(A_GUI)
    target_link_libraries(${name} PRIVATE vimora_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE vimora_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests;VIMORA_HOME=${CMAKE_SOURCE_DIR}/home"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
