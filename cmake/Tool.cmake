# add_tool(name SOURCES ...): one Windows GUI program over the common
# library, with its resource script, in two sets made from the same
# objects and linked the same way: dist/<name>.exe, whose ANSI code page is
# the system's, and dist/utf8/<name>.exe, whose manifest names UTF-8 as its
# ANSI code page. The manifest is the only difference between the sets.

# The manifest of each set, made from one template: QUIL_ACTIVE_CODE_PAGE
# is the one build option that tells them apart.
set(QUIL_MANIFEST_TEMPLATE ${CMAKE_SOURCE_DIR}/common/res/tool.manifest.in)
set(QUIL_ANSI_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifest/ansi)
set(QUIL_UTF8_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifest/utf8)
set(QUIL_ACTIVE_CODE_PAGE "")
configure_file(${QUIL_MANIFEST_TEMPLATE} ${QUIL_ANSI_MANIFEST_DIR}/tool.manifest @ONLY)
set(QUIL_ACTIVE_CODE_PAGE "\n      <activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>")
configure_file(${QUIL_MANIFEST_TEMPLATE} ${QUIL_UTF8_MANIFEST_DIR}/tool.manifest @ONLY)

function(add_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES" ${ARGN})
  set(code ${TOOL_SOURCES})
  list(FILTER code EXCLUDE REGEX "\\.rc$")
  set(resources ${TOOL_SOURCES})
  list(FILTER resources INCLUDE REGEX "\\.rc$")
  add_library(${name}_code OBJECT ${code} ${CMAKE_SOURCE_DIR}/common/windows/winmain.cpp)
  target_link_libraries(${name}_code PUBLIC quil_common quil_platform_windows)

  foreach(set ansi utf8)
    if(set STREQUAL ansi)
      set(target ${name})
      set(dir ${QUIL_DIST_DIR})
      set(manifest_dir ${QUIL_ANSI_MANIFEST_DIR})
    else()
      set(target ${name}_utf8)
      set(dir ${QUIL_DIST_DIR}/utf8)
      set(manifest_dir ${QUIL_UTF8_MANIFEST_DIR})
    endif()
    add_executable(${target} WIN32 $<TARGET_OBJECTS:${name}_code> ${resources})
    target_link_libraries(${target} PRIVATE quil_common quil_platform_windows)
    # The set's manifest is found first, then the shared fragment and icon.
    target_include_directories(${target} PRIVATE ${manifest_dir} ${CMAKE_SOURCE_DIR}/common/res)
    set_target_properties(${target} PROPERTIES
      OUTPUT_NAME ${name}
      RUNTIME_OUTPUT_DIRECTORY ${dir}
      RUNTIME_OUTPUT_DIRECTORY_MINSIZEREL ${dir}
      RUNTIME_OUTPUT_DIRECTORY_RELEASE ${dir}
      RUNTIME_OUTPUT_DIRECTORY_DEBUG ${dir})
  endforeach()
  # The resource scripts include the shared fragment, the icon and the manifest.
  set_property(SOURCE ${resources} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/common/res/tool.rc ${CMAKE_SOURCE_DIR}/common/res/tool.ico
               ${QUIL_ANSI_MANIFEST_DIR}/tool.manifest ${QUIL_UTF8_MANIFEST_DIR}/tool.manifest)
endfunction()
