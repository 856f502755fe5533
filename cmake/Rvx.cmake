# rvx_platform_library(NAME SOURCES ... [DEPS ...])
# A platform library is shared, so that a host and the bundles it loads see one class
# registry, one run loop and one notify center.
function(rvx_platform_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(rvx_${name} SHARED ${ARG_SOURCES})
  target_include_directories(rvx_${name} PUBLIC ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR})
  target_link_libraries(rvx_${name} PUBLIC ${ARG_DEPS})
endfunction()

# rvx_test(NAME SOURCES ... [LIBS ...]): a GoogleTest program registered with CTest.
function(rvx_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# rvx_bundle(NAME SOURCES ... [DEPS ...]): a loadable bundle. Only symbols marked
# RVX_EXPORT leave it.
function(rvx_bundle name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ""
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bundles/${name}.bundle)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()
