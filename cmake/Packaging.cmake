# Debian packages, made by `cpack -G DEB` in a build folder (tests/package checks them):
#   zenri-biaobai   the desktop client, its menu entry and icon, the fonts its windows need
#   zenri-service   the service, its site folder, a systemd unit, a configuration file and the
#                   nginx sample
include(GNUInstallDirs)

install(TARGETS ZenriBiaobai RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
install(FILES deploy/zenri-biaobai.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT client)
install(FILES assets/client/icon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME zenri-biaobai.png COMPONENT client)

install(TARGETS zenri-service RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT service)
# Where the program looks for it: <bin>/../share/zenri-service/site.
install(DIRECTORY assets/site/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zenri-service/site
        COMPONENT service)
install(FILES deploy/zenri-service@.service DESTINATION lib/systemd/system COMPONENT service)
install(FILES deploy/zenri-service.conf DESTINATION /etc/zenri-service COMPONENT service)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zenri-service COMPONENT service)
install(FILES deploy/nginx.conf DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zenri-service/examples
        COMPONENT service)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zenri <support@zenri.invalid>")
set(CPACK_PACKAGE_VENDOR Zenri)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL client service)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION web)

set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME zenri-biaobai)
set(CPACK_DEBIAN_CLIENT_PACKAGE_SECTION x11)
set(CPACK_COMPONENT_CLIENT_DESCRIPTION
    "Zenri confession pages: the desktop program\n Pick one of eight page styles, fill in the editor, preview the page and publish\n it under your own name.")
# The windows are drawn with these faces (黑体, 宋体, 微软雅黑, Arial and Verdana on Linux).
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS
    "fonts-noto-cjk, fonts-wqy-zenhei, fonts-liberation2, fonts-dejavu-core")

set(CPACK_DEBIAN_SERVICE_PACKAGE_NAME zenri-service)
set(CPACK_COMPONENT_SERVICE_DESCRIPTION
    "Zenri confession pages: the service\n The gateway the desktop program talks to, the published pages and the page\n styles' assets, on SQLite or PostgreSQL.")
# The database drivers are plugins, which the library scan does not see.
set(CPACK_DEBIAN_SERVICE_PACKAGE_DEPENDS "libqt6sql6-sqlite, adduser")
set(CPACK_DEBIAN_SERVICE_PACKAGE_RECOMMENDS "libqt6sql6-psql, nginx")
set(CPACK_DEBIAN_SERVICE_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_SOURCE_DIR}/deploy/debian/postinst;${CMAKE_CURRENT_SOURCE_DIR}/deploy/debian/conffiles")

include(CPack)
