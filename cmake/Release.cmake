# The release zip: the three programs, their UTF-8 set in utf8/, the user's
# guide as README.md, the example batch files, the pictures, the help site,
# and SHA256SUMS over all of them.
# Built by: cmake --workflow --preset release
install(TARGETS ask say run RUNTIME DESTINATION .)
install(TARGETS ask_utf8 say_utf8 run_utf8 RUNTIME DESTINATION utf8)
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md DESTINATION . RENAME README.md)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/examples/ DESTINATION examples)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/pictures/ DESTINATION pictures)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/site/ DESTINATION site)

# Runs last, in the staging folder: one "hash  name" line per file, as
# sha256sum writes them, so that `sha256sum -c SHA256SUMS` checks the lot.
install(CODE [[
  set(top "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(GLOB_RECURSE files RELATIVE "${top}" "${top}/*")
  list(REMOVE_ITEM files SHA256SUMS)
  list(SORT files)
  set(sums "")
  foreach(f IN LISTS files)
    file(SHA256 "${top}/${f}" hash)
    string(APPEND sums "${hash}  ${f}\n")
  endforeach()
  file(WRITE "${top}/SHA256SUMS" "${sums}")
]])

set(CPACK_PACKAGE_NAME "corvalette-tools")
set(CPACK_PACKAGE_VENDOR "Quilverton")
set(CPACK_PACKAGE_VERSION "0.12.0")
set(CPACK_SYSTEM_NAME "win32")
set(CPACK_GENERATOR "ZIP")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
