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

find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(pngs)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}/vimora.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/data/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/data/vimora.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/data/vimora.svg
      COMMENT "Drawing the ${size} pixel icon" VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(vimora_icons ALL DEPENDS ${pngs})
else()
  message(STATUS "rsvg-convert not found: only the scalable icon is installed")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE AND VIMORA_TESTS)
  add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/data/vimora.desktop)
endif()
