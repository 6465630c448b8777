# add_tool(name VERSION major.minor SOURCES ...): one Windows GUI program
# over the common library, with its resource script, in two sets made from
# the same objects and linked the same way: dist/<name>.exe, whose ANSI code
# page is the system's, and dist/utf8/<name>.exe, whose manifest names UTF-8
# as its ANSI code page. The manifest is the only difference between the sets.
#
# VERSION is the one place the tool's version is written ("0.12": the minor
# number has two digits, as the captions show it). add_tool writes it into
# tool_version.h and makes <name>_version, an interface library that puts
# that header on the include path: TOOL_VERSION_MAJOR and TOOL_VERSION_MINOR
# for ThisTool, TOOL_VERSION_NUMBERS and TOOL_VERSION_TEXT for the version
# block of tool.rc. The program's code, its resources and the unit tests
# that compile its main file all take the version from there. Where no
# Windows programs are built (the native and fuzz builds) add_tool makes
# only that library.

if(WIN32)
  # The manifest of each set, made from one template: QUIL_ACTIVE_CODE_PAGE
  # is the one build option that tells them apart.
  set(QUIL_MANIFEST_TEMPLATE ${CMAKE_SOURCE_DIR}/common/res/tool.manifest.in)
  set(QUIL_ANSI_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifest/ansi)
  set(QUIL_UTF8_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifest/utf8)
  set(QUIL_ACTIVE_CODE_PAGE "")
  configure_file(${QUIL_MANIFEST_TEMPLATE} ${QUIL_ANSI_MANIFEST_DIR}/tool.manifest @ONLY)
  set(QUIL_ACTIVE_CODE_PAGE "\n      <activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>")
  configure_file(${QUIL_MANIFEST_TEMPLATE} ${QUIL_UTF8_MANIFEST_DIR}/tool.manifest @ONLY)
endif()

# tool_version_library(name version): writes the tool's tool_version.h and
# makes <name>_version, which puts it on the include path.
function(tool_version_library name version)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9][0-9])$")
    message(FATAL_ERROR "add_tool(${name}): VERSION must be major.minor with a two-digit minor, not '${version}'")
  endif()
  math(EXPR major "${CMAKE_MATCH_1}")
  math(EXPR minor "${CMAKE_MATCH_2}")
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/version)
  # Written only when it changes, so that a new configure rebuilds nothing.
  file(CONFIGURE OUTPUT ${dir}/tool_version.h @ONLY CONTENT
"// The version of ${name}, from add_tool(${name} VERSION ${version}) in ${name}/CMakeLists.txt.
#define TOOL_VERSION_MAJOR ${major}
#define TOOL_VERSION_MINOR ${minor}
#define TOOL_VERSION_NUMBERS ${major}, ${minor}, 0, 0
#define TOOL_VERSION_TEXT \"${major}.${minor}.0.0\"
")
  add_library(${name}_version INTERFACE)
  target_include_directories(${name}_version INTERFACE ${dir})
  set_property(TARGET ${name}_version PROPERTY QUIL_VERSION_HEADER ${dir}/tool_version.h)
endfunction()

function(add_tool name)
  cmake_parse_arguments(TOOL "" "VERSION" "SOURCES" ${ARGN})
  tool_version_library(${name} "${TOOL_VERSION}")
  if(NOT WIN32)
    return()
  endif()
  set(code ${TOOL_SOURCES})
  list(FILTER code EXCLUDE REGEX "\\.rc$")
  set(resources ${TOOL_SOURCES})
  list(FILTER resources INCLUDE REGEX "\\.rc$")
  add_library(${name}_code OBJECT ${code} ${CMAKE_SOURCE_DIR}/common/windows/winmain.cpp)
  target_link_libraries(${name}_code PUBLIC quil_common quil_platform_windows ${name}_version)
  # The tool's own headers sit beside its sources, in its folder.
  target_include_directories(${name}_code PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

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
    target_link_libraries(${target} PRIVATE quil_common quil_platform_windows ${name}_version)
    # The set's manifest is found first, then the shared fragment and icon.
    target_include_directories(${target} PRIVATE ${manifest_dir} ${CMAKE_SOURCE_DIR}/common/res)
    set_target_properties(${target} PROPERTIES
      OUTPUT_NAME ${name}
      RUNTIME_OUTPUT_DIRECTORY ${dir}
      RUNTIME_OUTPUT_DIRECTORY_MINSIZEREL ${dir}
      RUNTIME_OUTPUT_DIRECTORY_RELEASE ${dir}
      RUNTIME_OUTPUT_DIRECTORY_DEBUG ${dir})
  endforeach()
  # The resource scripts include the shared fragment, the version, the icon
  # and the manifest.
  get_target_property(version_header ${name}_version QUIL_VERSION_HEADER)
  set_property(SOURCE ${resources} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/common/res/tool.rc ${CMAKE_SOURCE_DIR}/common/res/tool.ico
               ${version_header} ${QUIL_ANSI_MANIFEST_DIR}/tool.manifest
               ${QUIL_UTF8_MANIFEST_DIR}/tool.manifest)
endfunction()
