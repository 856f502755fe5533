# Checks that the widget bundle exports exactly VEVChanged and VIEW_HEIGHT of its own
# symbols. The C++ standard library's vague-linkage objects (typeinfo of its templates)
# are the library's, not the bundle's, and the sanitizers' own markers (__odr_asan.NAME)
# are the instrumentation's; both are left out.
#   cmake -DBUNDLE=path/to/RuvexPro -DNM=nm -P CheckExports.cmake
execute_process(COMMAND ${NM} -D --defined-only -C ${BUNDLE}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${BUNDLE}: ${errors}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(own "")
foreach(line ${lines})
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.+)$")
    set(symbol "${CMAKE_MATCH_1}")
    if(NOT symbol MATCHES "^(typeinfo for |typeinfo name for |vtable for |guard variable for )?(std::|__gnu_cxx::)"
       AND NOT symbol MATCHES "^__(odr_asan|asan|ubsan|sanitizer)")
      list(APPEND own "${symbol}")
    endif()
  endif()
endforeach()
list(SORT own)
if(NOT own STREQUAL "VEVChanged;VIEW_HEIGHT")
  message(FATAL_ERROR "the bundle exports [${own}], expected [VEVChanged;VIEW_HEIGHT]")
endif()
message(STATUS "exports: ${own}")
