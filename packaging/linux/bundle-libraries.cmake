# Part of `cmake --install` of the portable folder (portable.cmake): copies into lib/ every
# library that the programs (VOSTREL_BUNDLE_EXECUTABLES) and the Qt platform plugin
# (VOSTREL_BUNDLE_MODULES) need and the system is not expected to have, and what those need in
# turn, from the Debian 11 root's library folder (VOSTREL_BUNDLE_ROOT_LIBRARIES).

# Left to the system: the C library, the C++ runtime and what any X11 desktop with sound carries
# (README.md lists them; scripts/debian11-root desktop is such a system with nothing else). No
# tool can know this list: it is what the folder promises about the systems it runs on.
set(system_libraries [[^(ld-linux.*|libc|libm|libdl|libpthread|librt|libresolv|libgcc_s|libstdc\+\+|libX11|libX11-xcb|libxcb|libGL|libGLX|libGLdispatch|libfontconfig|libfreetype|libasound|libdbus-1|libglib-2\.0|libgthread-2\.0|libICE|libSM|libz)\.so(\..*)?$]])

# file(GET_RUNTIME_DEPENDENCIES) looks in the folders that ldconfig lists before any other, and
# those are this machine's, with a newer Qt of the same architecture. The command it runs for
# them (CMAKE_LDCONFIG_COMMAND) answers here with the root's library folder alone, in ldconfig's
# "folder:" lines; the options it appends (-v -N -X) are ignored.
set(CMAKE_LDCONFIG_COMMAND sh -c [[printf '%s:\n' "$0"]] "${VOSTREL_BUNDLE_ROOT_LIBRARIES}")
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${VOSTREL_BUNDLE_EXECUTABLES}
  MODULES ${VOSTREL_BUNDLE_MODULES}
  PRE_EXCLUDE_REGEXES "${system_libraries}"
  RESOLVED_DEPENDENCIES_VAR libraries
  UNRESOLVED_DEPENDENCIES_VAR missing
  CONFLICTING_DEPENDENCIES_PREFIX conflicting)
if(missing OR conflicting_FILENAMES)
  message(FATAL_ERROR "Not in ${VOSTREL_BUNDLE_ROOT_LIBRARIES}, or there twice: ${missing} ${conflicting_FILENAMES}")
endif()

# Each under the name the programs ask for, as a file rather than the root's link to one.
foreach(library IN LISTS libraries)
  get_filename_component(name ${library} NAME)
  file(REAL_PATH ${library} contents)
  file(INSTALL ${contents} DESTINATION ${CMAKE_INSTALL_PREFIX}/lib RENAME ${name}
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
