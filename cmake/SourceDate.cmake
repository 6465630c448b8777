# The time every build takes as its own, so that two builds of one commit
# give the same bytes: SOURCE_DATE_EPOCH as given, else the time of the
# last commit. Run at every build (cmake -P) with SOURCE_DIR and OUTPUT_DIR;
# writes, each only when its content changes:
#   OUTPUT_DIR/source_date.h      QUIL_BUILD_DATE and QUIL_BUILD_TIME as the
#                                 compiler's __DATE__ and __TIME__ read, in UTC
#   OUTPUT_DIR/source_date_epoch  the seconds, for the linker's PE time stamp
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No commit to take the build time from: set SOURCE_DATE_EPOCH "
                        "(seconds since 1970) to build outside a git checkout.")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds since 1970, not \"${epoch}\"")
endif()

# string(TIMESTAMP) reads SOURCE_DATE_EPOCH instead of the clock.
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
string(TIMESTAMP month "%m" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP year "%Y" UTC)
string(TIMESTAMP time "%H:%M:%S" UTC)
math(EXPR index "${month} - 1")
set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET names ${index} name)
string(REGEX REPLACE "^0" " " day "${day}")

file(CONFIGURE OUTPUT "${OUTPUT_DIR}/source_date.h" CONTENT
"// Made by cmake/SourceDate.cmake: the build's time, taken from the commit.
#pragma once
#define QUIL_SOURCE_DATE_EPOCH ${epoch}
#define QUIL_BUILD_DATE \"${name} ${day} ${year}\"
#define QUIL_BUILD_TIME \"${time}\"
")
file(CONFIGURE OUTPUT "${OUTPUT_DIR}/source_date_epoch" CONTENT "${epoch}")
