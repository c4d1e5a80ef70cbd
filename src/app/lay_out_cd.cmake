# Lays out the CD folder anew from the edition: everything in it but the program goes first, so
# that nothing of another edition, or of a test's run, stays beside the program.
#   cmake -DCD_DIR=... -DEDITION=... -DPROGRAM=<file name> -P lay_out_cd.cmake
file(GLOB entries LIST_DIRECTORIES true "${CD_DIR}/*")
foreach(entry IN LISTS entries)
  get_filename_component(name "${entry}" NAME)
  if(NOT name STREQUAL PROGRAM)
    file(REMOVE_RECURSE "${entry}")
  endif()
endforeach()
file(COPY "${EDITION}/" DESTINATION "${CD_DIR}")
