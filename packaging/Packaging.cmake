# Installation and the Debian package (`make package`, or the `package` target):
# the program with its desktop entry and icon, the command-line tool, the server
# (when it is built; its systemd unit installed disabled), the sample data, the
# sample plug-ins' sources and the plug-in SDK.
include(GNUInstallDirs)

if(TARGET zavuv)
  install(TARGETS zavuv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/zavuv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/zavuv.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(TARGETS zavuv-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zavuv-server)
  install(TARGETS zavuv-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Under /lib even with the /usr prefix, where systemd looks on Debian 12.
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/zavuv-server.service DESTINATION /lib/systemd/system)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/server.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/sample.DAT DESTINATION ${CMAKE_INSTALL_DATADIR}/zavuv)
install(FILES ${PROJECT_SOURCE_DIR}/sdk/zavuv_plugin.h ${PROJECT_SOURCE_DIR}/sdk/zavuv_plugin.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zavuv)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/plugins/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zavuv/plugin-examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavuv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zavuv maintainers <zavuv@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Baccarat shoes, road sheets, statistics and strategy back-tests")
set(CPACK_PACKAGE_DESCRIPTION "zavuv keeps baccarat shoes, draws the road sheets, counts statistics and back-tests betting strategies, with plug-ins; zavuv-cli runs the same back-tests without a window, and zavuv-server is the community server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)
