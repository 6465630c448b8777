# Checks that a program carries the commit's time and no folder of the
# build: its PE time stamp is the commit's time (SOURCE_DATE_EPOCH when
# that is set), its -info text holds that date and time in UTC as the
# compiler writes __DATE__ and __TIME__, and neither the source nor the
# build folder appears in it.
# cmake -DOBJDUMP=... -DPROGRAM=... -DSOURCE_DIR=... -DBINARY_DIR=... -P
cmake_minimum_required(VERSION 3.25)
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
execute_process(COMMAND date -u -d @${epoch} "+%a %b %e %H:%M:%S %Y" OUTPUT_VARIABLE stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND date -u -d @${epoch} "+%b %e %Y" OUTPUT_VARIABLE day
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND date -u -d @${epoch} "+%H:%M:%S" OUTPUT_VARIABLE time
                OUTPUT_STRIP_TRAILING_WHITESPACE)

# objdump prints the time stamp in the local time zone.
set(ENV{TZ} UTC)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump)
if(NOT dump MATCHES "Time/Date[ \t]+([^\r\n]+)")
  message(FATAL_ERROR "no time stamp in ${PROGRAM}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL stamp)
  message(FATAL_ERROR "${PROGRAM} is stamped ${CMAKE_MATCH_1}, the commit is of ${stamp}")
endif()

foreach(wanted IN ITEMS "${day}" "${time}")
  file(STRINGS ${PROGRAM} found REGEX "^${wanted}$")
  if(NOT found)
    message(FATAL_ERROR "${PROGRAM}: no \"${wanted}\" for -info (the commit's date and time)")
  endif()
endforeach()
foreach(folder IN ITEMS "${SOURCE_DIR}" "${BINARY_DIR}")
  file(STRINGS ${PROGRAM} found REGEX "${folder}")
  if(found)
    message(FATAL_ERROR "${PROGRAM} holds the path ${folder}: ${found}")
  endif()
endforeach()
message(STATUS "${PROGRAM}: ${stamp}, as the commit")
