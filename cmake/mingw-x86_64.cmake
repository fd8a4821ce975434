# Cross build for 64-bit Windows, MinGW-w64, static. Used where 32-bit programs cannot run
# (a Linux kernel without 32-bit support cannot start the 32-bit Wine), so the end-to-end test
# still runs the same sources under the 64-bit Wine.
set(_triple x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
