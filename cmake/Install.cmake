# Installation: the library with its SONAME, the public headers, a CMake
# package (find_package(Jotwell) gives Jotwell::jotwell) and jotwell.pc.
include(CMakePackageConfigHelpers)

set(JOTWELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Jotwell)
install(TARGETS jotwell EXPORT JotwellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/jotwell DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT JotwellTargets NAMESPACE Jotwell:: DESTINATION ${JOTWELL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/JotwellConfig.cmake.in
  ${PROJECT_BINARY_DIR}/JotwellConfig.cmake INSTALL_DESTINATION ${JOTWELL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/JotwellConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/JotwellConfig.cmake ${PROJECT_BINARY_DIR}/JotwellConfigVersion.cmake
  DESTINATION ${JOTWELL_CMAKE_DIR})
file(RELATIVE_PATH JOTWELL_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${PROJECT_SOURCE_DIR}/cmake/jotwell.pc.in ${PROJECT_BINARY_DIR}/jotwell.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/jotwell.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
