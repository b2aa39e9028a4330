# Desktop integration: the program, its launcher entry, icon and AppStream metainfo in
# their standard places, and a .deb that depends on the Debian packages it needs.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zendra.Zendra.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
