# `cmake --install`: both programs in bin/, the program folder (config.xml, device/,
# language/, skins/) in share/corvane, where a program looks when its own folder holds no
# config.xml, and the desktop's pieces where the desktop looks for them.
include(GNUInstallDirs)

# Installing and packaging take the programs as built; they do not build the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CORVANE_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the udev rule is installed, relative to the prefix")
set(corvane_program_folder ${CMAKE_INSTALL_DATADIR}/corvane)

# The programs find their folder as ../share/corvane from their own one.
file(RELATIVE_PATH corvane_from_bin /p/${CMAKE_INSTALL_BINDIR} /p/${corvane_program_folder})
if(NOT corvane_from_bin STREQUAL "../share/corvane")
  message(WARNING "installed programs look for ../share/corvane; with BINDIR "
                  "${CMAKE_INSTALL_BINDIR} and DATADIR ${CMAKE_INSTALL_DATADIR} they need --program-dir")
endif()

foreach(program corvane corvane-cli)
  if(NOT TARGET ${program})
    continue()
  endif()
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CORVANE_GENERATED_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The build tree has the installed shape too: <program folder>/../share/corvane is the
  # source tree's data, so built and installed programs find their data by the same rule.
  get_target_property(corvane_exe_folder ${program} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT corvane_exe_folder)
    get_target_property(corvane_exe_folder ${program} BINARY_DIR)
  endif()
  file(MAKE_DIRECTORY ${corvane_exe_folder}/../share)
  file(CREATE_LINK ${CORVANE_DATA_DIR} ${corvane_exe_folder}/../share/corvane SYMBOLIC)
endforeach()

install(FILES ${CORVANE_DATA_DIR}/config.xml DESTINATION ${corvane_program_folder})
install(DIRECTORY ${CORVANE_DATA_DIR}/device ${CORVANE_DATA_DIR}/language ${CORVANE_DATA_DIR}/skins
        DESTINATION ${corvane_program_folder})
install(FILES ${CORVANE_DATA_DIR}/70-corvane.rules DESTINATION ${CORVANE_UDEV_RULES_DIR})
install(FILES ${CORVANE_DATA_DIR}/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CORVANE_DATA_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CORVANE_DATA_DIR}/example.corvane.Corvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The window's session-bus interface, for tools that generate bindings from it.
install(FILES ${CORVANE_DATA_DIR}/example.corvane.Corvane1.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES ${CORVANE_GENERATED_DIR}/corvane-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME corvane-cli)
# The desktop scripts that report the focused application on Wayland (docs/dbus.md): a
# KWin script for Plasma and a GNOME Shell extension, each calling ReportActiveApplication.
install(DIRECTORY ${CORVANE_DATA_DIR}/desktop/kwin/corvane-focus
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kwin/scripts)
install(DIRECTORY "${CORVANE_DATA_DIR}/desktop/gnome-shell/corvane-focus@example.corvane"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions)
