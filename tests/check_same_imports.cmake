# Checks that two builds of one program, 32-bit and 64-bit, import the same
# functions from every DLL beyond kernel32 and the C runtime (the user
# interface, the shell, the common dialogs, ...), names compared without a
# stdcall decoration. The pointer-sized window and class long calls count as
# one with the plain ones: the 32-bit Windows headers define
# SetWindowLongPtrA as SetWindowLongA (and so on), so those are one function
# there. The Wine suites may run on the 64-bit build; they
# stand for the shipped 32-bit program only while both call the system the
# same way.
# cmake -DOBJDUMP32=... -DOBJDUMP64=... -DPROGRAM32=... -DPROGRAM64=... -P
cmake_minimum_required(VERSION 3.25)

# Sets out to the sorted list "dll:function" of program's imports, the DLL
# in lower case, leaving out kernel32 and msvcrt.
function(read_imports objdump program out)
  if(NOT EXISTS "${program}")
    message(FATAL_ERROR "${program} does not exist: build both widths first")
  endif()
  execute_process(COMMAND ${objdump} -p ${program} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${program}: ${rc}")
  endif()
  string(REPLACE ";" "" dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(result "")
  set(dll "")
  foreach(line IN LISTS lines)
    if(line MATCHES "DLL Name: ([^ \t\r]+)")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
    elseif(line MATCHES "^[ \t]*$")
      set(dll "")
    elseif(dll AND NOT dll MATCHES "^(kernel32|msvcrt)\\.dll$"
           AND line MATCHES "^[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+([A-Za-z_][A-Za-z0-9_@]*)")
      string(REGEX REPLACE "@[0-9]+$" "" name "${CMAKE_MATCH_1}")
      string(REGEX REPLACE "^((Get|Set)(Window|Class)Long)Ptr([AW])$" "\\1\\4" name "${name}")
      list(APPEND result "${dll}:${name}")
    endif()
  endforeach()
  list(SORT result)
  list(REMOVE_DUPLICATES result)
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

read_imports(${OBJDUMP32} ${PROGRAM32} imports32)
read_imports(${OBJDUMP64} ${PROGRAM64} imports64)
if(NOT imports32)
  message(FATAL_ERROR "no user-interface or shell imports read from ${PROGRAM32}")
endif()

set(only32 ${imports32})
list(REMOVE_ITEM only32 ${imports64})
set(only64 ${imports64})
list(REMOVE_ITEM only64 ${imports32})
if(only32 OR only64)
  message(FATAL_ERROR "the 32-bit and 64-bit programs import different functions\n"
                      "  only 32-bit (${PROGRAM32}): ${only32}\n"
                      "  only 64-bit (${PROGRAM64}): ${only64}")
endif()
list(LENGTH imports32 n)
message(STATUS "both widths import the same ${n} functions: ${imports32}")
