# The release zip (scripts/package): the 32-bit sets of this build, the
# 64-bit sets of the same sources built beside it in x64/ with the same
# settings and the 64-bit toolchain, the user's guide, the examples, the
# pictures, the help site and SHA256SUMS; signed where QUIL_SIGN_CERT and
# QUIL_SIGN_KEY are set. Built by: cmake --workflow --preset release
include(ExternalProject)
set(QUIL_RELEASE_DIR ${CMAKE_SOURCE_DIR}/dist/release CACHE PATH "Where the release zip is made")
# The zip and the one folder in it carry the release's name (from
# project(VERSION), top CMakeLists.txt); scripts/reproduce reads it from
# release-name in this build folder.
set(QUIL_RELEASE_ZIP ${QUIL_RELEASE_DIR}/${QUIL_RELEASE_NAME}.zip)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/release-name CONTENT "${QUIL_RELEASE_NAME}\n")

ExternalProject_Add(x64
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/x64
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DQUIL_TESTS=OFF -DQUIL_RELEASE=OFF
             -DMAKER_WEB_HOST=${MAKER_WEB_HOST}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_target(release_zip ALL
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/with-source-date ${QUIL_SOURCE_DATE_DIR}/source_date_epoch
          ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/package ${QUIL_RELEASE_ZIP}
          ${QUIL_DIST_DIR} ${CMAKE_BINARY_DIR}/x64/dist
  COMMENT "Making ${QUIL_RELEASE_ZIP}"
  VERBATIM)
add_dependencies(release_zip x64 ask say run ask_utf8 say_utf8 run_utf8 quil_source_date)
