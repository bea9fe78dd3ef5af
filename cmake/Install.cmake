# What `cmake --install` puts where: the three programs, the desktop entry, the icon (the SVG,
# and PNG sizes when rsvg-convert is there to draw them) and the bundled home folder, which the
# installed vimora finds relative to itself.
include(GNUInstallDirs)

foreach(program vimora vimora-run nebu)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(VIMORA_HOME_DESTINATION ${CMAKE_INSTALL_DATADIR}/vimora/home)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/home/ DESTINATION ${VIMORA_HOME_DESTINATION})
install(FILES ${CMAKE_SOURCE_DIR}/data/vimora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/vimora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The program looks for its home this way up from its own folder; both ends move with the prefix.
if(TARGET vimora AND NOT IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" AND NOT IS_ABSOLUTE "${VIMORA_HOME_DESTINATION}")
  file(RELATIVE_PATH home_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VIMORA_HOME_DESTINATION})
  target_compile_definitions(vimora PRIVATE VIMORA_INSTALLED_HOME="${home_from_bin}")
endif()

# The PNG sizes of the icon are drawn for the program's resources (src/app).
foreach(png ${VIMORA_ICON_PNGS})
  get_filename_component(size_folder ${png} DIRECTORY)
  get_filename_component(size ${size_folder} NAME)
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()
