# Prints every source of cmake/Sources.cmake, one a line after the part it
# belongs to (portable, backend or example), relative to the repository:
#   cmake -P cmake/ListSources.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Sources.cmake)
foreach(part portable backend example)
  string(TOUPPER ${part} upper)
  if(part STREQUAL "backend")
    set(upper POSIX_BACKEND)
  endif()
  foreach(source IN LISTS JOTWELL_${upper}_SOURCES)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${part} ${source}")
  endforeach()
endforeach()
