# Fails unless the dynamic symbols the widget bundle defines are exactly VEVChanged and
# VIEW_HEIGHT: anything else it defines (a library template's typeinfo, a sanitizer's
# marker) would be bound by the host in place of its own.
#   cmake -DBUNDLE=path/to/RuvexPro -DNM=nm -P CheckExports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${BUNDLE}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${BUNDLE}: ${errors}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(found "")
foreach(line ${lines})
  if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] ([^ ]+)$")
    list(APPEND found "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT found)
if(NOT found STREQUAL "VEVChanged;VIEW_HEIGHT")
  message(FATAL_ERROR "the bundle exports [${found}], expected [VEVChanged;VIEW_HEIGHT]")
endif()
message(STATUS "exports: ${found}")
