# The portable folder, for older and other desktops: built against a Debian 11 root (glibc 2.31,
# Qt 5.15.2), with Qt, libmpg123, libjpeg and their libraries in lib/, found through the
# programs' $ORIGIN run path, and a Chinese font in lib/fonts.
if(NOT VOSTREL_SYSROOT)
  message(FATAL_ERROR "The portable folder is built against a Debian 11 root: cmake/debian11-toolchain.cmake")
endif()
set(sysroot_libraries ${VOSTREL_SYSROOT}/usr/lib/${VOSTREL_TARGET_ARCH}-linux-gnu)

vostrel_install_program_folder(.)
install(PROGRAMS vostrel-sound-check DESTINATION .)
install(FILES ${guide} qt.conf DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon.png DESTINATION . RENAME vostrel.png)

# A menu entry whose command runs in the folder it lies in (%k: the menu file's own path); the
# backslashes are the entry's escapes of the quotes and dollars that sh sees.
function(vostrel_portable_menu_entry entry command)
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${entry} text)
  string(FIND "${text}" "\nExec=" exec_start)
  math(EXPR exec_start "${exec_start} + 1")
  string(SUBSTRING "${text}" 0 ${exec_start} before)
  string(SUBSTRING "${text}" ${exec_start} -1 after)
  string(FIND "${after}" "\n" exec_length)
  string(SUBSTRING "${after}" ${exec_length} -1 after)
  set(exec [[Exec=sh -c "cd \\"\\$(dirname \\"\\$1\\")\\" && exec ./]])
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/portable/${entry} "${before}${exec}${command}\" vostrel %k${after}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${entry})
endfunction()
vostrel_portable_menu_entry(vostrel.desktop vostrel)
vostrel_portable_menu_entry(vostrel-sound-check.desktop "vostrel-sound-check --window")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/portable/vostrel.desktop DESTINATION .)
# Executable, so that file managers offer to run it rather than to open it as text.
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/portable/vostrel-sound-check.desktop DESTINATION .)

# A Chinese font for systems that have none (the program takes Qt's font folder, lib/fonts, only
# then), with its licence: Debian's fonts-wqy-microhei from the root.
install(FILES ${VOSTREL_SYSROOT}/usr/share/fonts/truetype/wqy/wqy-microhei.ttc DESTINATION lib/fonts)
install(FILES ${VOSTREL_SYSROOT}/usr/share/doc/fonts-wqy-microhei/copyright DESTINATION lib/fonts
        RENAME wqy-microhei.copyright)

set(qt_platform_plugin ${sysroot_libraries}/qt5/plugins/platforms/libqxcb.so)
install(FILES ${qt_platform_plugin} DESTINATION lib/plugins/platforms)
# Qt's Chinese texts (the message boxes' buttons): Debian 11 has no qtbase_zh_CN yet, so they
# come from this machine's qttranslations5-l10n (data, the same for every Qt 5.15).
file(GLOB qt_translations /usr/share/qt5/translations/qtbase_zh_*.qm)
if(NOT qt_translations)
  message(FATAL_ERROR "No /usr/share/qt5/translations/qtbase_zh_*.qm: scripts/install-deps test installs them")
endif()
install(FILES ${qt_translations} DESTINATION lib/translations)

# The libraries: what the programs and the platform plugin need, and what that needs in turn,
# found by CMake in the root (bundle-libraries.cmake).
install(CODE "
  set(VOSTREL_BUNDLE_ROOT_LIBRARIES \"${sysroot_libraries}\")
  set(VOSTREL_BUNDLE_EXECUTABLES \"$<TARGET_FILE:vostrel>;$<TARGET_FILE:vostrel-voicecheck>\")
  set(VOSTREL_BUNDLE_MODULES \"${qt_platform_plugin}\")
  include(\"${CMAKE_CURRENT_SOURCE_DIR}/bundle-libraries.cmake\")
")
