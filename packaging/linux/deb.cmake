# The .deb (Debian 12, Ubuntu 22.04 and newer), made by CPack's DEB generator.
#
# Why /opt: the program keeps vanto.ini and its voice folder beside itself, so it runs from a
# folder it may write, which the launcher copies from /opt/vostrel; /usr/bin/vostrel and the
# menu entries are where any package puts them.
vostrel_install_program_folder(opt/vostrel)
install(PROGRAMS vostrel-launcher DESTINATION usr/bin RENAME vostrel)
# The checker under the launcher: it checks and plays the files of the user's own program folder.
file(CREATE_LINK vostrel ${CMAKE_CURRENT_BINARY_DIR}/vostrel-voicecheck SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vostrel-voicecheck DESTINATION usr/bin)
# The sound check's script runs the checker beside it: here the launcher's link above.
install(PROGRAMS vostrel-sound-check DESTINATION usr/bin)
install(FILES vostrel.desktop vostrel-sound-check.desktop DESTINATION usr/share/applications)

foreach(size 16 24 32 48 64 128 256)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/vostrel.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
    COMMAND convert ${PROJECT_SOURCE_DIR}/assets/icon.png -resize ${size}x${size} -strip PNG32:${icon}
    DEPENDS ${PROJECT_SOURCE_DIR}/assets/icon.png
    VERBATIM)
  install(FILES ${icon} DESTINATION usr/share/icons/hicolor/${size}x${size}/apps)
  list(APPEND package_files ${icon})
endforeach()

# The documents: the guide, the DEP-5 copyright file and the Debian changelog, compressed as
# Debian's policy asks (-n: no name or time in it, so the same changelog gives the same bytes).
set(changelog ${CMAKE_CURRENT_SOURCE_DIR}/changelog)
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND sh -c "gzip -9nc \"$0\" >\"$1\"" ${changelog} ${changelog_gz}
  DEPENDS ${changelog}
  VERBATIM)
list(APPEND package_files ${changelog_gz})
install(FILES ${guide} copyright ${changelog_gz} DESTINATION usr/share/doc/vostrel)

# The changelog's newest entry names the version and, signed by the package's maintainer, the
# Maintainer field; the version must be the project's (checked when the package is made).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} newest_entry LIMIT_COUNT 1)
string(REGEX REPLACE "^vostrel \\(([^)]*)\\).*" "\\1" CPACK_VOSTREL_CHANGELOG_VERSION "${newest_entry}")
file(STRINGS ${changelog} signatures REGEX "^ -- .*>  ")
list(GET signatures 0 newest_signature)
string(REGEX REPLACE "^ -- (.*>)  .*" "\\1" CPACK_DEBIAN_PACKAGE_MAINTAINER "${newest_signature}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # vostrel_<version>_<arch>.deb
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime packages only: the libraries' packages, as dpkg-shlibdeps finds them (shlibs.local
# adds Ubuntu's name for libjpeg), and what the linker cannot find: a Chinese font for the
# captions, Qt's Chinese texts, and xdg-open for the help page.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_VOSTREL_SHLIBS_LOCAL ${CMAKE_CURRENT_SOURCE_DIR}/shlibs.local)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/deb-before-packing.cmake)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei, qttranslations5-l10n, xdg-utils")
# The sound check's menu entry opens a terminal window (vostrel-sound-check).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS x-terminal-emulator)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "plays the spoken prompts of a mock exam day
Vostrel announces a mock senior-high-school exam day: eight spoken prompts per
subject at fixed moments before the start and the end of each exam.

Each user runs a copy of the program in ~/.local/share/vostrel, where the
settings file vanto.ini and the voice files of the school's own are kept.
The sound check (vostrel-sound-check, in the menu as Vostrel 试听语音) checks
the voice files there and plays them on the default sound device.")
include(CPack)
