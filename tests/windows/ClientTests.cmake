# Real automation clients driving the registered DLL through the prefix's
# own programs: regsvr32 and reg for the registration round trip, a
# VBScript under cscript for the members. Every test that registers the DLL
# shares the prefix's one registry: they take turns (RESOURCE_LOCK).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(client_programs system32)
else()
  # A 32-bit DLL loads only into the prefix's 32-bit programs.
  set(client_programs syswow64)
endif()
# Each script makes its scratch folder under the build tree and removes it.
set(client_arguments
  ${JOTWELL_WINE} $<TARGET_FILE:jotwell> ${client_programs} ${CMAKE_CURRENT_BINARY_DIR})

add_test(NAME windows.RegistrationRoundTrip
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/registration.sh ${client_arguments})
add_test(NAME windows.VBScript
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/members.sh ${client_arguments})
set_tests_properties(windows.RegistrationRoundTrip windows.VBScript PROPERTIES
  FIXTURES_REQUIRED WinePrefix RESOURCE_LOCK JotwellRegistration TIMEOUT 120
  ENVIRONMENT "${wine_environment}")

# The example host beside the DLL, as shell scripts use it: its member
# commands through the component's function table, and a registration.
add_test(NAME windows.Jotbook
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/examples/jotbook.sh $<TARGET_FILE:jotbook> ${PROJECT_VERSION}
          ${JOTWELL_WINE})
# Alone: beside another Wine test, its file sometimes did not reach the
# trash of its own data folder (seen under Wine 8; the cause is not known).
set_tests_properties(windows.Jotbook PROPERTIES FIXTURES_REQUIRED WinePrefix
  RESOURCE_LOCK JotwellRegistration RUN_SERIAL TRUE TIMEOUT 180 ENVIRONMENT "${wine_environment}")
