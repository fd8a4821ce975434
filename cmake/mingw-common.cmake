# Shared part of the MinGW-w64 toolchain files; set _triple and CMAKE_SYSTEM_PROCESSOR first.
# Posix threads, so std::thread works. Everything links statically: the executable must run
# with nothing but its voice folder beside it (a dynamically linked build needs three MinGW
# DLLs and fails to start without them).
#
# VOSTREL_WIN_DEPS: prefix of the cross-built static libraries (scripts/build-windows-deps);
# pkg-config and find_* calls look there and in the MinGW sysroot only, never at the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 5.1)  # Windows XP

set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_AR ${_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_ASM_NASM_COMPILER nasm)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VOSTREL_WIN_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
if(VOSTREL_WIN_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VOSTREL_WIN_DEPS})
  set(ENV{PKG_CONFIG_LIBDIR} "${VOSTREL_WIN_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
