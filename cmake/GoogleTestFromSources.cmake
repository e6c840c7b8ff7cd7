# GoogleTest built from the sources Debian ships (package googletest), for a cross build: the host's
# libgtest is not for the target.
set(googletest_sources /usr/src/googletest)
if(NOT EXISTS ${googletest_sources}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${googletest_sources} (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# Its CMake files name the targets GTest::gtest and GTest::gmock, as the installed package does.
add_subdirectory(${googletest_sources} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
