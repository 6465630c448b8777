# add_tool(name SOURCES ...): one Windows GUI program over the common
# library, with its resource script, written to dist/<name>.exe.
function(add_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES" ${ARGN})
  add_executable(${name} WIN32 ${TOOL_SOURCES} ${CMAKE_SOURCE_DIR}/common/windows/winmain.cpp)
  target_link_libraries(${name} PRIVATE quil_common quil_platform_windows)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/common/res)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QUIL_DIST_DIR}
    RUNTIME_OUTPUT_DIRECTORY_MINSIZEREL ${QUIL_DIST_DIR}
    RUNTIME_OUTPUT_DIRECTORY_RELEASE ${QUIL_DIST_DIR}
    RUNTIME_OUTPUT_DIRECTORY_DEBUG ${QUIL_DIST_DIR})
  # The resource scripts include the shared fragment, the icon and the manifest.
  set_property(SOURCE ${TOOL_SOURCES} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/common/res/tool.rc ${CMAKE_SOURCE_DIR}/common/res/tool.ico
               ${CMAKE_SOURCE_DIR}/common/res/tool.manifest)
endfunction()
