# Checks a built program without running it: a GUI executable of the right
# word size whose import table names only Windows system DLLs, and whose
# resources hold the version block and the icon group.
# cmake -DOBJDUMP=... -DWINDRES=... -DPROGRAM=... -DBITS=4|8 -DNAME=Say -DVERSION=0.11.0.0 -P
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}: ${rc}")
endif()

if(BITS EQUAL 4)
  set(format "pei-i386")
else()
  set(format "pei-x86-64")
endif()
if(NOT dump MATCHES "file format ${format}")
  message(FATAL_ERROR "${PROGRAM} is not ${format}")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+0+2[ \t]+\\(Windows GUI\\)")
  message(FATAL_ERROR "${PROGRAM} is not a GUI program")
endif()

set(allowed kernel32.dll user32.dll gdi32.dll comdlg32.dll shell32.dll msvcrt.dll)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${PROGRAM}")
endif()
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  if(NOT lower IN_LIST allowed)
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not a Windows system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()

execute_process(COMMAND ${WINDRES} -i ${PROGRAM} -O rc OUTPUT_VARIABLE rc_text RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windres could not read the resources of ${PROGRAM}: ${rc}")
endif()
foreach(expected
    "VALUE \"FileVersion\", \"${VERSION}\""
    "VALUE \"ProductVersion\", \"${VERSION}\""
    "VALUE \"OriginalFilename\", \"${NAME}.exe\""
    "VALUE \"InternalName\", \"${NAME}\""
    "VALUE \"ProductName\", \"${NAME}\""
    "VALUE \"FileDescription\", \"${NAME}\""
    "VALUE \"CompanyName\", \"Quilverton\""
    "LANGUAGE 9, 2"
    "BLOCK \"080904B0\""
    "VALUE \"Translation\", 0x809, 1200")
  string(FIND "${rc_text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM}: version block lacks ${expected}")
  endif()
endforeach()
string(REGEX MATCHALL "[0-9]+ 3 /\\* RT_ICON \\*/" icons "${rc_text}")
list(LENGTH icons icon_count)
if(NOT icon_count EQUAL 9)
  message(FATAL_ERROR "${PROGRAM}: expected 9 icon images, got ${icon_count}")
endif()
if(NOT rc_text MATCHES "RT_GROUP_ICON[^B]*BEGIN[^/]*/\\* Has 9 elements")
  message(FATAL_ERROR "${PROGRAM}: no icon group of 9 images")
endif()
message(STATUS "${PROGRAM}: ${format}, GUI, system DLLs only, version ${VERSION}, 9 icon images")
