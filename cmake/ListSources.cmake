# Prints the portable sources, one path a line relative to the repository:
#   cmake -P cmake/ListSources.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Sources.cmake)
foreach(source IN LISTS JOTWELL_PORTABLE_SOURCES JOTWELL_EXAMPLE_SOURCES)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${source})
endforeach()
