# bl_add_library(NAME folder DEPS ...): one static library per subsystem folder,
# made of every source file directly in that folder. A folder with no sources
# yet gives an interface library, so that dependents link it already.
function(bl_add_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# bl_add_test(NAME folder DEPS ... [LABELS ...]): one GoogleTest program per
# test folder, labelled with the folder's name and any extra labels ("display"
# for tests that need a display: ./test.sh runs those under Xvfb). The test
# kit (tests/testkit) tells tests where the generated game data, the fixtures
# and the scratch space are.
function(bl_add_test name folder)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} bl_testkit GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${folder})
  if(ARG_LABELS)
    # A list does not survive the discovery script, so the extra labels are
    # set by a script of our own that ctest reads after the discovered tests.
    set(labels_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
    file(WRITE ${labels_script}
      "if(${name}_TESTS)\n"
      "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${folder};${ARG_LABELS}\")\n"
      "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_script})
  endif()
endfunction()
