# Install rules shared by every program of the project.
include(GNUInstallDirs)

find_program(CPE_HELP2MAN help2man REQUIRED)

# Installs a program into bin/ with its manual page, which help2man writes at build time from
# the program's --help (or the option given as HELP_OPTION, e.g. one that also lists every
# subcommand's options) and --version and, when it exists, assets/share/man/<program>.h2m.
# The metainfo lists the program among the binaries the package provides.
function(cpe_install_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "HELP_OPTION" "")
  set(help_option --help)
  if(ARG_HELP_OPTION)
    set(help_option ${ARG_HELP_OPTION})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  set(folder ${PROJECT_BINARY_DIR}/man)
  set(page ${folder}/${target}.1)
  set(extra ${PROJECT_SOURCE_DIR}/assets/share/man/${target}.h2m)
  # The program runs without a display; a sanitizer build must not fail the build on the
  # allocations that Qt keeps until exit.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${CPE_HELP2MAN} --no-info --help-option=${help_option} --opt-include=${extra}
            --output=${page} $<TARGET_FILE:${target}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${target} ${extra}
    COMMENT "Writing the manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}_manual ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  set_property(GLOBAL APPEND PROPERTY CPE_INSTALLED_PROGRAMS ${target})
endfunction()
