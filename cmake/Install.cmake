# What `cmake --install` puts in place: the program, its desktop entry and its icon
# at the sizes of the icon theme, so that it starts from the desktop's menu.
include(GNUInstallDirs)

set(ZEKO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(zeko_icon_sizes 16 24 32 48 64 128 256)
set(zeko_icons)
foreach(size IN LISTS zeko_icon_sizes)
  list(APPEND zeko_icons ${ZEKO_ICON_DIR}/hicolor/${size}x${size}/apps/zeko.png)
endforeach()
add_custom_command(OUTPUT ${zeko_icons}
  COMMAND iconpic ${ZEKO_ICON_DIR}
  DEPENDS iconpic
  COMMENT "Drawing the program's icon")
add_custom_target(zeko_icons ALL DEPENDS ${zeko_icons})

if(TARGET zeko)
  install(TARGETS zeko RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/app/zeko.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${ZEKO_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
