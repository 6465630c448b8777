# The imports of a Windows program, read with objdump.

# Sets out to the sorted list "dll:function" of program's imports, the DLL
# in lower case; with every_dll OFF, kernel32 and msvcrt are left out.
function(read_imports objdump program every_dll out)
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
    elseif(dll AND (every_dll OR NOT dll MATCHES "^(kernel32|msvcrt)\\.dll$")
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

# Ends with a message naming both programs when the two import lists
# differ; a_label and b_label say what each program is.
function(require_same_imports a b a_label b_label a_program b_program)
  set(only_a ${a})
  list(REMOVE_ITEM only_a ${b})
  set(only_b ${b})
  list(REMOVE_ITEM only_b ${a})
  if(only_a OR only_b)
    message(FATAL_ERROR "the ${a_label} and ${b_label} programs import different functions\n"
                        "  only ${a_label} (${a_program}): ${only_a}\n"
                        "  only ${b_label} (${b_program}): ${only_b}")
  endif()
endfunction()
