# The manual page of floorwatch-cli, made at build time from its --help text.
find_program(FW_HELP2MAN help2man)
if(NOT FW_HELP2MAN)
  message(FATAL_ERROR "help2man is missing; scripts/deps.sh installs it")
endif()
find_program(FW_GZIP gzip REQUIRED)

set(man_source ${CMAKE_BINARY_DIR}/man/floorwatch-cli.1)
set(FW_MAN_PAGE ${man_source}.gz)
add_custom_command(
  OUTPUT ${FW_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          ${FW_HELP2MAN} --no-info --section=1 --version-string=${PROJECT_VERSION}
          "--name=Floorwatch's radio-noise diagram, data files and report without a window"
          --output=${man_source} $<TARGET_FILE:floorwatch-cli>
  # -n leaves out name and time stamp, so that the same page gives the same file.
  COMMAND ${FW_GZIP} -9 -n -f ${man_source}
  DEPENDS floorwatch-cli
  COMMENT "Writing manual page floorwatch-cli.1"
  VERBATIM)
add_custom_target(man_page ALL DEPENDS ${FW_MAN_PAGE})
