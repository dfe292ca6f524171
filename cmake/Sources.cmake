# The library's sources, read by the build on every platform and by the
# layers check (through cmake/ListSources.cmake).
#
# Each platform's backend is listed file by file; everything else under src/
# is portable and must compile for every platform.
get_filename_component(JOTWELL_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
# A new file re-runs the configure step; script mode has none to re-run.
if(CMAKE_SCRIPT_MODE_FILE)
  set(JOTWELL_GLOB_DEPENDS "")
else()
  set(JOTWELL_GLOB_DEPENDS CONFIGURE_DEPENDS)
endif()

set(JOTWELL_POSIX_BACKEND_SOURCES
  src/platform/agent/AgentDesktop.cpp
  src/platform/agent/AgentLink.cpp
  src/platform/agent/AgentProcess.cpp
  src/platform/posix/BstrAndVariant.cpp
  src/platform/posix/DefaultApplication.cpp
  src/platform/posix/Descriptors.cpp
  src/platform/posix/Environment.cpp
  src/platform/posix/Errno.cpp
  src/platform/posix/FileCopy.cpp
  src/platform/posix/FolderSearch.cpp
  src/platform/posix/LockedAppend.cpp
  src/platform/posix/LockedEdit.cpp
  src/platform/posix/PosixComponent.cpp
  src/platform/posix/PosixDesktop.cpp
  src/platform/posix/PosixFiles.cpp
  src/platform/posix/PosixIni.cpp
  src/platform/posix/PosixLocale.cpp
  src/platform/posix/PosixRegistration.cpp
  src/platform/posix/PosixRuntime.cpp
  src/platform/posix/PosixShell.cpp
  src/platform/posix/PosixThreadEnd.cpp
  src/platform/posix/SystemPath.cpp
  src/platform/posix/UserFolders.cpp)

set(JOTWELL_WIN32_BACKEND_SOURCES
  src/platform/win32/AboutDialog.cpp
  src/platform/win32/LockedAppend.cpp
  src/platform/win32/ModalDialog.cpp
  src/platform/win32/ReportDialog.cpp
  src/platform/win32/ScreenLayout.cpp
  src/platform/win32/SystemError.cpp
  src/platform/win32/WideText.cpp
  src/platform/win32/Win32Component.cpp
  src/platform/win32/Win32Desktop.cpp
  src/platform/win32/Win32Files.cpp
  src/platform/win32/Win32Ini.cpp
  src/platform/win32/Win32Locale.cpp
  src/platform/win32/Win32Registration.cpp
  src/platform/win32/Win32Runtime.cpp
  src/platform/win32/Win32Shell.cpp
  src/platform/win32/Win32ThreadEnd.cpp)

file(GLOB_RECURSE JOTWELL_PORTABLE_SOURCES RELATIVE ${JOTWELL_ROOT} ${JOTWELL_GLOB_DEPENDS}
  ${JOTWELL_ROOT}/src/*.cpp)
list(REMOVE_ITEM JOTWELL_PORTABLE_SOURCES ${JOTWELL_POSIX_BACKEND_SOURCES} ${JOTWELL_WIN32_BACKEND_SOURCES})
# A backend file missing from its list would be compiled as portable code.
foreach(source IN LISTS JOTWELL_PORTABLE_SOURCES)
  if(source MATCHES "^src/platform/(posix|agent|win32)/")
    message(FATAL_ERROR "${source} belongs to a platform's backend: list it in cmake/Sources.cmake")
  endif()
endforeach()

# The example host uses only the public headers: it is portable too.
file(GLOB JOTWELL_EXAMPLE_SOURCES RELATIVE ${JOTWELL_ROOT} ${JOTWELL_GLOB_DEPENDS}
  ${JOTWELL_ROOT}/examples/jotbook/*.cpp)
