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
require_same_imports("${ansi}" "${utf8}" ANSI UTF-8 ${ANSI} ${UTF8})
list(LENGTH ansi n)
message(STATUS "both sets import the same ${n} functions")
