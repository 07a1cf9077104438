# The help documents, written as PDF at build time beside the programs.

# The guides' page layout, shared by the build-time tool and its tests.
add_library(fw_help_layout STATIC ${CMAKE_CURRENT_LIST_DIR}/help_layout.cpp)
target_include_directories(fw_help_layout PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(fw_help_layout PUBLIC Qt6::Gui)

# Build-time tool that writes the help documents as PDF with Qt's own PDF writer.
add_executable(fw-helpdoc helpdoc.cpp)
target_link_libraries(fw-helpdoc PRIVATE fw_help_layout)

set(FW_HELP_DOCUMENTS)
foreach(language EN DE)
  set(source ${CMAKE_SOURCE_DIR}/docs/help/Floorwatch${language}.html)
  set(document ${FW_PROGRAM_BUILD_DIR}/Floorwatch${language}.pdf)
  add_custom_command(
    OUTPUT ${document}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:fw-helpdoc> ${source} ${document}
    DEPENDS fw-helpdoc ${source}
    COMMENT "Writing help document Floorwatch${language}.pdf"
    VERBATIM)
  list(APPEND FW_HELP_DOCUMENTS ${document})
endforeach()
add_custom_target(help_docs ALL DEPENDS ${FW_HELP_DOCUMENTS})
