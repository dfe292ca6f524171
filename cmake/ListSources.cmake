# Prints every source of cmake/Sources.cmake, one a line after the part it
# belongs to (portable, the POSIX backend, the win32 backend or example),
# relative to the repository:
#   cmake -P cmake/ListSources.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Sources.cmake)
function(print_part part)
  foreach(source IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${part} ${source}")
  endforeach()
endfunction()
print_part(portable ${JOTWELL_PORTABLE_SOURCES})
print_part(backend ${JOTWELL_POSIX_BACKEND_SOURCES})
print_part(win32 ${JOTWELL_WIN32_BACKEND_SOURCES})
print_part(example ${JOTWELL_EXAMPLE_SOURCES})
