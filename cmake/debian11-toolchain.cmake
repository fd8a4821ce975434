# The portable Linux program: built with this machine's Clang and GCC 12 C++ library against a
# Debian 11 root as the sysroot (glibc 2.31, Qt 5.15.2), for x86_64 or aarch64.
#
#   -DCMAKE_TOOLCHAIN_FILE=cmake/debian11-toolchain.cmake -DVOSTREL_SYSROOT=ROOT
#   -DVOSTREL_TARGET_ARCH=x86_64|aarch64
#
# The C headers and libraries come from the root; libstdc++ (headers and the static library) from
# this machine's GCC 12 (native, or the arm64 cross packages), linked statically and kept out of
# the program's exported symbols, so the bundled Qt goes on using the system's libstdc++. The
# unwinder stays the system's libgcc_s: GCC 12's static one needs glibc 2.35.
# scripts/package-linux drives this.
set(VOSTREL_SYSROOT "" CACHE PATH "Debian 11 root used as the sysroot")
set(VOSTREL_TARGET_ARCH "x86_64" CACHE STRING "x86_64 or aarch64")
# try_compile projects see the same two settings.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VOSTREL_SYSROOT VOSTREL_TARGET_ARCH)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${VOSTREL_TARGET_ARCH})
set(vostrel_triple ${VOSTREL_TARGET_ARCH}-linux-gnu)

set(CMAKE_SYSROOT ${VOSTREL_SYSROOT})
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${vostrel_triple})
set(CMAKE_CXX_COMPILER_TARGET ${vostrel_triple})
# GCC 12 from /usr (native in lib/gcc, cross in lib/gcc-cross) supplies libstdc++ and the start files.
set(CMAKE_C_COMPILER_EXTERNAL_TOOLCHAIN /usr)
set(CMAKE_CXX_COMPILER_EXTERNAL_TOOLCHAIN /usr)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -Wl,--exclude-libs,ALL")
# The bundled libraries lie in lib/ beside the program. DT_RPATH (not RUNPATH) applies to the
# libraries' own dependencies and to the Qt plugins too.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--disable-new-dtags")
set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
set(CMAKE_INSTALL_RPATH "\$ORIGIN/lib")

set(CMAKE_FIND_ROOT_PATH ${VOSTREL_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The target's GNU binutils: `cmake --install --strip` strips with them, and the portable
# folder's libraries are found with their objdump (packaging/linux/bundle-libraries.cmake).
find_program(VOSTREL_TARGET_STRIP ${vostrel_triple}-strip REQUIRED)
find_program(VOSTREL_TARGET_OBJDUMP ${vostrel_triple}-objdump REQUIRED)
set(CMAKE_STRIP ${VOSTREL_TARGET_STRIP})
set(CMAKE_OBJDUMP ${VOSTREL_TARGET_OBJDUMP})

# pkg-config answers from the root's .pc files, with the root prefixed to their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${VOSTREL_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
    "${VOSTREL_SYSROOT}/usr/lib/${vostrel_triple}/pkgconfig:${VOSTREL_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
