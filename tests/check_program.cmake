# Checks a built program without running it: a GUI executable of the right
# word size whose import table names only Windows system DLLs. (Its
# resources are read back through the Windows API by the end-to-end tests.)
# cmake -DOBJDUMP=... -DPROGRAM=... -DBITS=4|8 -P
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

# The user-interface DLLs are delay-loaded (loaded at their first call), so
# they must not stand in the import table itself; the delay-load
# descriptors name them instead.
foreach(line IN LISTS imports)
  if(line MATCHES "(USER32|SHELL32|COMDLG32|GDI32)")
    message(FATAL_ERROR "${PROGRAM} loads ${CMAKE_MATCH_1} at start instead of at first use")
  endif()
endforeach()
file(STRINGS ${PROGRAM} delayed REGEX "^(user32|shell32)\\.dll$")
if(NOT delayed)
  message(FATAL_ERROR "${PROGRAM} has no delay-loaded user32 or shell32")
endif()

message(STATUS "${PROGRAM}: ${format}, GUI, system DLLs only, user-interface DLLs delay-loaded")
