# Copies each file of FILES (a |-separated list) into DESTINATION unless a file of that name is
# already there: voice prompts an operator recorded over ours survive every rebuild.
#   cmake -DFILES=a|b -DDESTINATION=dir -P copy-missing.cmake
file(MAKE_DIRECTORY "${DESTINATION}")
string(REPLACE "|" ";" files "${FILES}")
foreach(source IN LISTS files)
  get_filename_component(name "${source}" NAME)
  if(NOT EXISTS "${DESTINATION}/${name}")
    file(COPY "${source}" DESTINATION "${DESTINATION}")
  endif()
endforeach()
