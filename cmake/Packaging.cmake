# Desktop integration: the program, its launcher entry, icon and AppStream metainfo in
# their standard places, and a .deb that depends on the Debian packages it needs.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed as Debian installs manual pages, and the bash completion.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(zendra_man_page ${CMAKE_BINARY_DIR}/man/zendra.1.gz)
add_custom_command(OUTPUT ${zendra_man_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${GZIP_PROGRAM} -9nc ${PROJECT_SOURCE_DIR}/packaging/zendra.1 > ${zendra_man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/zendra.1)
add_custom_target(zendra_man_page ALL DEPENDS ${zendra_man_page})
install(FILES ${zendra_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/zendra.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zendra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zendra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zendra developers <dev@zendra.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop browser for a web catalogue of installation images")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# Library packages come from the binaries themselves; the CJK font is needed to read the window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)
