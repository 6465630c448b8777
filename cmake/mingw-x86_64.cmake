# Cross-compiles the same sources as 64-bit Windows programs. Used to run the
# Wine test suites on machines whose kernel cannot execute 32-bit x86 code
# (there the 32-bit Wine loader cannot start at all); never shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
