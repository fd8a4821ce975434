# Run by CPack once the .deb's tree is staged, before the DEB generator packs it (deb.cmake).
#
# The newest entry of the Debian changelog must be this version's.
if(NOT CPACK_VOSTREL_CHANGELOG_VERSION STREQUAL CPACK_PACKAGE_VERSION)
  message(FATAL_ERROR "packaging/linux/changelog has no entry for ${CPACK_PACKAGE_VERSION} at the top "
                      "(it has '${CPACK_VOSTREL_CHANGELOG_VERSION}')")
endif()
# The generator runs dpkg-shlibdeps in the staged tree, where it reads debian/shlibs.local first;
# the generator removes debian/ again before packing.
file(COPY ${CPACK_VOSTREL_SHLIBS_LOCAL} DESTINATION ${CPACK_TEMPORARY_DIRECTORY}/debian)
