# Man pages written by help2man from each program's --help once the program is built.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(STATUS "help2man not found: building without man pages (Debian package help2man)")
endif()

# orvalis_add_man_page(TARGET NAME text [COMMANDS command...] [ENVIRONMENT VAR=value...]
#                      [SEE_ALSO page...]): TARGET.1.gz in man1, rebuilt whenever TARGET is.
function(orvalis_add_man_page target)
  if(NOT HELP2MAN)
    return()
  endif()
  cmake_parse_arguments(ARG "" "NAME" "COMMANDS;ENVIRONMENT;SEE_ALSO" ${ARGN})
  # Commas carry the lists through the command line, where a semicolon would split them
  string(REPLACE ";" "," commands "${ARG_COMMANDS}")
  string(REPLACE ";" "," see_also "${ARG_SEE_ALSO}")
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env ${ARG_ENVIRONMENT}
            ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN} -DPROGRAM=$<TARGET_FILE:${target}>
            -DVERSION=${PROJECT_VERSION} -DNAME=${ARG_NAME} -DCOMMANDS=${commands}
            -DSEE_ALSO=${see_also} -DOUTPUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/HelpToMan.cmake
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/HelpToMan.cmake
    COMMENT "Writing the man page of ${target}"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
