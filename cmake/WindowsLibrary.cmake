# The library on Windows: Jotwell.dll with exactly the component server's
# four entry points, its version information, and the system's own DLLs
# beneath the backend.

set(JOTWELL_SYSTEM_LIBRARIES ole32 oleaut32 uuid shell32 user32 gdi32 comctl32 advapi32)
target_link_libraries(jotwell_backend PUBLIC ${JOTWELL_SYSTEM_LIBRARIES})
target_link_libraries(jotwell_internals PUBLIC ${JOTWELL_SYSTEM_LIBRARIES})
# The windows' layouts, which the agent draws too.
target_include_directories(jotwell_backend PRIVATE ${PROJECT_SOURCE_DIR}/protocol)
# The windows' pictures go into every file that the windows' code is
# linked into: the library, and the test programs that link it whole. The
# resource compiler names no picture among its dependencies, so each file
# that compiles the script lists them (a source's properties hold in its own
# folder only).
set(JOTWELL_PICTURES ${PROJECT_SOURCE_DIR}/src/platform/win32/Pictures.rc)
file(GLOB JOTWELL_PICTURE_FILES ${PROJECT_SOURCE_DIR}/src/platform/win32/pictures/*)
set_property(SOURCE ${JOTWELL_PICTURES} APPEND PROPERTY OBJECT_DEPENDS ${JOTWELL_PICTURE_FILES})

# "1.01.0005" for version 1.1.5.
string(LENGTH "${PROJECT_VERSION_MINOR}" minor_digits)
string(LENGTH "${PROJECT_VERSION_PATCH}" revision_digits)
math(EXPR minor_zeros "2 - ${minor_digits}")
math(EXPR revision_zeros "4 - ${revision_digits}")
string(REPEAT 0 ${minor_zeros} minor_padding)
string(REPEAT 0 ${revision_zeros} revision_padding)
set(version_text
  "${PROJECT_VERSION_MAJOR}.${minor_padding}${PROJECT_VERSION_MINOR}.${revision_padding}${PROJECT_VERSION_PATCH}")
# The type library lies beside the resource script, which names it.
set(resources ${CMAKE_CURRENT_BINARY_DIR}/Jotwell.rc)
configure_file(${PROJECT_SOURCE_DIR}/src/platform/win32/Jotwell.rc.in ${resources} @ONLY)

target_sources(jotwell PRIVATE ${resources} ${JOTWELL_PICTURES} ${PROJECT_SOURCE_DIR}/cmake/Jotwell.def)
set_target_properties(jotwell PROPERTIES OUTPUT_NAME Jotwell PREFIX "")
target_link_libraries(jotwell PRIVATE ${JOTWELL_SYSTEM_LIBRARIES})

# The type library, from the component's IDL, goes in as resource 1. The
# compiler takes the standard type library's IUnknown and IDispatch from
# Wine's stdole2.tlb.
find_program(JOTWELL_WIDL NAMES ${JOTWELL_MINGW_TRIPLE}-widl widl REQUIRED)
find_path(JOTWELL_STDOLE2_FOLDER stdole2.tlb REQUIRED NO_CMAKE_FIND_ROOT_PATH
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
        /usr/lib/wine/x86_64-windows /usr/lib/wine/i386-windows)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(widl_target --win64)
else()
  set(widl_target --win32)
endif()
set(type_library ${CMAKE_CURRENT_BINARY_DIR}/Jotwell.tlb)
add_custom_command(OUTPUT ${type_library}
  COMMAND ${JOTWELL_WIDL} ${widl_target} -t -I ${PROJECT_SOURCE_DIR}/src -L ${JOTWELL_STDOLE2_FOLDER}
          -o ${type_library} ${PROJECT_SOURCE_DIR}/src/platform/win32/TypeLibrary.idl
  DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win32/TypeLibrary.idl
          ${PROJECT_SOURCE_DIR}/src/platform/win32/BaseTypes.idl
          ${PROJECT_SOURCE_DIR}/src/binding/Jotwell.idl
  COMMENT "Building the type library Jotwell.tlb")
set_property(SOURCE ${resources} APPEND PROPERTY OBJECT_DEPENDS ${type_library})
