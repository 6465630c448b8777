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

include(${CMAKE_CURRENT_LIST_DIR}/imports.cmake)

read_imports(${OBJDUMP32} ${PROGRAM32} OFF imports32)
read_imports(${OBJDUMP64} ${PROGRAM64} OFF imports64)
if(NOT imports32)
  message(FATAL_ERROR "no user-interface or shell imports read from ${PROGRAM32}")
endif()

require_same_imports("${imports32}" "${imports64}" 32-bit 64-bit ${PROGRAM32} ${PROGRAM64})
list(LENGTH imports32 n)
message(STATUS "both widths import the same ${n} functions: ${imports32}")
