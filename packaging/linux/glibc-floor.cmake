# Included after project() in the portable builds (scripts/package-linux): the program and the
# sound check take the definitions that keep this machine's static libstdc++ on glibc 2.31 (see
# glibc_floor.c). A deferred call's arguments are read when it runs, hence the variable.
set(VOSTREL_GLIBC_FLOOR_SOURCE ${CMAKE_CURRENT_LIST_DIR}/glibc_floor.c)
cmake_language(DEFER CALL target_sources vostrel PRIVATE ${VOSTREL_GLIBC_FLOOR_SOURCE})
cmake_language(DEFER CALL target_sources vostrel-voicecheck PRIVATE ${VOSTREL_GLIBC_FLOOR_SOURCE})
