# The ITU-R P.372 coefficient files, copied beside the programs at build time.
file(GLOB itu_sources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/data/itu-p372/*.txt ${CMAKE_SOURCE_DIR}/data/itu-p372/README.md
     ${CMAKE_SOURCE_DIR}/data/itu-p372/SHA256SUMS)

set(FW_ITU_DATA_FILES)
foreach(source ${itu_sources})
  get_filename_component(name ${source} NAME)
  set(copy ${FW_PROGRAM_BUILD_DIR}/itu-p372/${name})
  add_custom_command(
    OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    DEPENDS ${source}
    COMMENT "Copying ITU data itu-p372/${name}"
    VERBATIM)
  list(APPEND FW_ITU_DATA_FILES ${copy})
endforeach()
add_custom_target(itu_data ALL DEPENDS ${FW_ITU_DATA_FILES})
