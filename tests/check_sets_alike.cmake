# Checks that the UTF-8 set's build of a program imports exactly the
# functions the ANSI set's build imports, from every DLL: both are made from
# the same objects, linked the same way, and differ only in the manifest
# (whose resources the end-to-end tests compare).
# cmake -DOBJDUMP=... -DANSI=... -DUTF8=... -P
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/imports.cmake)

read_imports(${OBJDUMP} ${ANSI} ON ansi)
read_imports(${OBJDUMP} ${UTF8} ON utf8)
if(NOT ansi)
  message(FATAL_ERROR "no imports read from ${ANSI}")
endif()
set(only_ansi ${ansi})
list(REMOVE_ITEM only_ansi ${utf8})
set(only_utf8 ${utf8})
list(REMOVE_ITEM only_utf8 ${ansi})
if(only_ansi OR only_utf8)
  message(FATAL_ERROR "the ANSI and UTF-8 programs import different functions\n"
                      "  only ANSI (${ANSI}): ${only_ansi}\n"
                      "  only UTF-8 (${UTF8}): ${only_utf8}")
endif()
list(LENGTH ansi n)
message(STATUS "both sets import the same ${n} functions")
