# The Windows build's tests: the portable suites, cross-built with
# GoogleTest from its sources, each run as one test under Wine in a prefix
# of the build tree's own, with no display.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_compile_options(-O0 -g1)
set(CMAKE_UNITY_BUILD ON)

# The loader of the library's width. With Wine's 32-bit part installed,
# plain "wine" starts the prefix's own programs (reg, regsvr32, cscript) as
# 32-bit ones, which neither load a 64-bit library nor see the 64-bit
# registry.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(JOTWELL_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
else()
  find_program(JOTWELL_WINE_LOADER wine REQUIRED)
endif()
set(JOTWELL_WINE ${JOTWELL_WINE_LOADER})
find_program(JOTWELL_WINESERVER wineserver REQUIRED)
# The emulator CTest puts before each test program.
set(CMAKE_CROSSCOMPILING_EMULATOR env -u DISPLAY ${JOTWELL_WINE})
set(wine_environment
  WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
  WINESERVER=${JOTWELL_WINESERVER}
  XDG_DATA_HOME=${CMAKE_BINARY_DIR}/wine-data)

# What the file exports and imports, read from its headers: no Wine needed.
add_test(NAME windows.Exports
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:jotwell>)

add_test(NAME windows.Prefix COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine-prefix.sh start)
add_test(NAME windows.PrefixEnd COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine-prefix.sh end)
set_tests_properties(windows.Prefix PROPERTIES FIXTURES_SETUP WinePrefix TIMEOUT 300
  ENVIRONMENT "${wine_environment}")
set_tests_properties(windows.PrefixEnd PROPERTIES FIXTURES_CLEANUP WinePrefix TIMEOUT 60
  ENVIRONMENT "${wine_environment}")

add_library(jotwell_test_support STATIC support/TestSupport.cpp)
target_include_directories(jotwell_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(jotwell_test_support
  PUBLIC jotwell_internals jotwell_allocation_counter gtest gmock)

# A crash under Wine ends a test program with the code CrashExit.cpp gives.
set_source_files_properties(windows/CrashExit.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
# What only POSIX systems have: forked children, other users, mounts and
# limits, GLib's lists, and the POSIX backend's own promises (the INI
# engine's, the registration record's).
set(posix_only
  logfile/RealFaultsTest.cpp
  platform/IniTest.cpp platform/PosixFilesTest.cpp platform/RegistrationTest.cpp
  platform/SetIdHostTest.cpp utilities/FileUtilitiesTest.cpp)
foreach(suite values errors component platform logfile utilities binding)
  file(GLOB sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${suite}/*.cpp)
  list(REMOVE_ITEM sources ${posix_only})
  add_executable(${suite}_tests ${sources} windows/CrashExit.cpp)
  target_link_libraries(${suite}_tests PRIVATE jotwell_test_support gtest_main)
  add_test(NAME windows.${suite} COMMAND ${suite}_tests)
  set_tests_properties(windows.${suite} PROPERTIES FIXTURES_REQUIRED WinePrefix TIMEOUT 300
    ENVIRONMENT "${wine_environment}")
endforeach()
# What only the Windows backend does.
add_executable(win32_tests platform/win32/Win32BackendTest.cpp windows/CrashExit.cpp)
target_link_libraries(win32_tests PRIVATE jotwell_test_support gtest_main)
# The writer processes of its many-writers test.
add_executable(log_writer windows/LogWriter.cpp windows/CrashExit.cpp)
target_link_libraries(log_writer PRIVATE jotwell_internals)
target_compile_definitions(win32_tests PRIVATE JOTWELL_LOG_WRITER="$<TARGET_FILE:log_writer>")
add_dependencies(win32_tests log_writer)
add_test(NAME windows.win32 COMMAND win32_tests)
set_tests_properties(windows.win32 PROPERTIES FIXTURES_REQUIRED WinePrefix TIMEOUT 300
  ENVIRONMENT "${wine_environment}")

target_compile_definitions(binding_tests PRIVATE
  JOTWELL_IDL_PATH="${PROJECT_SOURCE_DIR}/src/binding/Jotwell.idl"
  JOTWELL_SHARED_LIBRARY="$<TARGET_FILE:jotwell>")
add_dependencies(binding_tests jotwell)

# Real automation clients driving the registered DLL.
include(${CMAKE_CURRENT_SOURCE_DIR}/windows/ClientTests.cmake OPTIONAL)

# A C++ host creates the registered component through the runtime.
add_executable(client_tests windows/client/ClientTest.cpp windows/CrashExit.cpp)
target_link_libraries(client_tests PRIVATE jotwell_internals gtest_main)
target_include_directories(client_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(client_tests PRIVATE JOTWELL_DLL="$<TARGET_FILE:jotwell>")
add_dependencies(client_tests jotwell)
# The file's unloading in a process of its own: once a host of the
# multithreaded apartment has been served, the apartment the runtime made
# for the object keeps the file loaded until the process ends (Wine 8).
add_test(NAME windows.client COMMAND client_tests --gtest_filter=-*Unloads*)
add_test(NAME windows.clientUnloads COMMAND client_tests --gtest_filter=*Unloads*)
set_tests_properties(windows.client windows.clientUnloads PROPERTIES FIXTURES_REQUIRED WinePrefix
  TIMEOUT 300 RESOURCE_LOCK JotwellRegistration ENVIRONMENT "${wine_environment}")

# The native windows on a display of their own, driven by xdotool and read
# back through xclip, and their layout once more at 120 dpi. Each run
# restarts the prefix's server on its display, so nothing else may run
# meanwhile.
add_executable(window_tests windows/desktop/AboutWindowTest.cpp windows/desktop/DisplaySupport.cpp
  windows/desktop/ReportWindowTest.cpp windows/CrashExit.cpp ${JOTWELL_PICTURES})
set_target_properties(window_tests PROPERTIES UNITY_BUILD OFF)
set_property(SOURCE ${JOTWELL_PICTURES} APPEND PROPERTY OBJECT_DEPENDS ${JOTWELL_PICTURE_FILES})
target_link_libraries(window_tests PRIVATE jotwell_test_support gtest_main)
target_include_directories(window_tests PRIVATE ${PROJECT_SOURCE_DIR}/protocol)
# The browser and the mail program of the links' test: a program without a
# window or a console, which would come between the pointer and the links.
add_executable(recorder windows/desktop/Recorder.cpp)
set_target_properties(recorder PROPERTIES WIN32_EXECUTABLE ON)
add_dependencies(window_tests recorder)
target_compile_definitions(window_tests PRIVATE JOTWELL_SCREENSHOTS="${CMAKE_BINARY_DIR}/screenshots"
  JOTWELL_RECORDER="$<TARGET_FILE:recorder>")
add_test(NAME windows.windows
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/on-display.sh 96 $<TARGET_FILE:window_tests>)
add_test(NAME windows.windows120dpi
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/on-display.sh 120 $<TARGET_FILE:window_tests>
          --gtest_filter=*Place*)
set_tests_properties(windows.windows windows.windows120dpi PROPERTIES FIXTURES_REQUIRED WinePrefix
  RUN_SERIAL TRUE TIMEOUT 600 ENVIRONMENT "${wine_environment};JOTWELL_WINE=${JOTWELL_WINE}")
