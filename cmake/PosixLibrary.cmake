# The library on POSIX systems: GLib and GIO beneath the backend, the
# desktop agent beside the library, and an export list.

# The agent's line protocol: all that the backend and the agent share.
target_include_directories(jotwell_backend PRIVATE ${PROJECT_SOURCE_DIR}/protocol)
target_include_directories(jotwell_internals PUBLIC ${PROJECT_SOURCE_DIR}/protocol)
# The trash, the recent-documents list and file-name case rules come from
# GLib and GIO; no toolkit is ever loaded into the host.
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
target_link_libraries(jotwell_backend PUBLIC ${CMAKE_DL_LIBS} PkgConfig::GIO)
# The desktop agent lies beside the library in the build tree; once
# installed, here relative to the library's folder, so the tree can move.
file(RELATIVE_PATH JOTWELL_AGENT_FROM_LIBRARY ${CMAKE_INSTALL_FULL_LIBDIR}
  ${CMAKE_INSTALL_FULL_LIBEXECDIR}/jotwell)
target_compile_definitions(jotwell_backend PRIVATE JOTWELL_AGENT_FROM_LIBRARY="${JOTWELL_AGENT_FROM_LIBRARY}")
add_subdirectory(desktop)
# Every traced call reads a thread-local pointer. TLS descriptors make that a
# short call, without the dynamic resolver's general lookup, and still let
# hosts load the library at run time.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-mtls-dialect=gnu2 JOTWELL_HAVE_TLS_DESCRIPTORS)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64" AND JOTWELL_HAVE_TLS_DESCRIPTORS)
  target_compile_options(jotwell_portable PRIVATE -mtls-dialect=gnu2)
  target_compile_options(jotwell_backend PRIVATE -mtls-dialect=gnu2)
endif()

set_target_properties(jotwell PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_link_libraries(jotwell PRIVATE ${CMAKE_DL_LIBS} PkgConfig::GIO)
# Only the public API and the entry points leave the library; the list also
# keeps out the standard library's templates that our code instantiates.
target_link_options(jotwell PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/jotwell.map)
set_property(TARGET jotwell APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/jotwell.map)
add_dependencies(jotwell jotwell-desktop)
target_link_libraries(jotwell_internals PUBLIC ${CMAKE_DL_LIBS} PkgConfig::GIO)
