# Delay-load import libraries for the user-interface DLLs, made with dlltool
# from cmake/delay/imports.txt. Linking quil_delay_imports stands in for
# -luser32 -lgdi32 -lshell32 -lcomdlg32.
find_program(QUIL_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/delay/imports.txt lines REGEX "^[a-z]")
add_library(quil_delay_imports INTERFACE)
foreach(dll user32 gdi32 shell32 comdlg32)
  set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(line IN LISTS lines)
    string(REPLACE " " ";" fields "${line}")
    list(GET fields 0 owner)
    list(GET fields 1 name)
    list(GET fields 2 bytes)
    if(owner STREQUAL dll)
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        if(name STREQUAL "SetWindowLongPtrA")
          continue()  # a macro for SetWindowLongA in 32-bit programs
        endif()
        string(APPEND def "${name}@${bytes}\n")
      else()
        string(APPEND def "${name}\n")
      endif()
    endif()
  endforeach()
  set(def_file ${CMAKE_BINARY_DIR}/delay/${dll}.def)
  set(lib_file ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  file(WRITE ${def_file} "${def}")
  set(kill_at "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)
  endif()
  add_custom_command(OUTPUT ${lib_file}
                     COMMAND ${QUIL_DLLTOOL} --input-def ${def_file} --dllname ${dll}.dll
                             --output-delaylib ${lib_file} ${kill_at}
                     DEPENDS ${def_file} ${CMAKE_SOURCE_DIR}/cmake/delay/imports.txt
                     COMMENT "Delay-load library for ${dll}.dll")
  add_custom_target(delay_${dll} DEPENDS ${lib_file})
  add_dependencies(quil_delay_imports delay_${dll})
  target_link_libraries(quil_delay_imports INTERFACE ${lib_file})
endforeach()
