# GoogleTest as the targets gtest and gtest_main: the platform's own package
# where it has one, else built from the Debian sources (cross builds).
find_package(GTest QUIET)
if(GTest_FOUND AND TARGET GTest::gtest AND NOT CMAKE_CROSSCOMPILING)
  add_library(gtest INTERFACE)
  target_link_libraries(gtest INTERFACE GTest::gtest)
  add_library(gtest_main INTERFACE)
  target_link_libraries(gtest_main INTERFACE GTest::gtest_main)
  return()
endif()

set(OV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, used when no GoogleTest package is found")
if(NOT EXISTS ${OV_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest not found: install the package googletest (Debian: apt-get install googletest "
                      "libgtest-dev), point OV_GTEST_SOURCE at its sources, or configure with -DOV_BUILD_TESTS=OFF")
endif()
set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${OV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
