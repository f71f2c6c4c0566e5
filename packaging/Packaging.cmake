# Installs the program where a desktop finds it (XDG places under the prefix) and packs the
# same files into a .deb with CPack:  cpack -G DEB  (in the build folder).
include(GNUInstallDirs)

set(TESSARY_MAINTAINER "Tessary maintainers <maintainers@users.noreply.c-seed-dda7f602.example>"
    CACHE STRING "Maintainer of the Debian package")
# Where Tessary lives on the web, and where the pictures of docs/screenshots/ are published, for
# the package's Homepage and the software centres' page (their screenshots need full addresses).
set(TESSARY_HOMEPAGE "https://c-seed-dda7f602.example/tessary" CACHE STRING "Tessary's web page")
set(TESSARY_SCREENSHOTS "${TESSARY_HOMEPAGE}/docs/screenshots"
    CACHE STRING "Web folder holding the pictures of docs/screenshots/")
# AppStream names a component after its home's domain, backwards, '-' written '_'.
set(TESSARY_APPSTREAM_ID example.c_seed_dda7f602.tessary)
set(TESSARY_DEB_RELEASE 1)
set(TESSARY_DEB_VERSION "${PROJECT_VERSION}-${TESSARY_DEB_RELEASE}")
set(packaging ${CMAKE_CURRENT_LIST_DIR})
set(generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tessary RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Debian's hardening: the relocations read-only once the program has started.
target_link_options(tessary PRIVATE "LINKER:-z,relro,-z,now")
install(FILES ${packaging}/tessary.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/icons/tessary.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${packaging}/icons/tessary-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tessary.png)
endforeach()

# The manual page and the Debian changelog go in compressed, without a time stamp, as Debian
# wants them.
configure_file(${packaging}/tessary.1 ${generated}/tessary.1 @ONLY)
configure_file(${packaging}/changelog.Debian.in ${generated}/changelog.Debian @ONLY)
configure_file(${packaging}/copyright ${generated}/copyright @ONLY)
configure_file(${packaging}/tessary.metainfo.xml.in
               ${generated}/${TESSARY_APPSTREAM_ID}.metainfo.xml @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(file tessary.1 changelog.Debian)
  add_custom_command(OUTPUT ${generated}/${file}.gz
                     COMMAND ${GZIP_PROGRAM} -9nkf ${generated}/${file}
                     DEPENDS ${generated}/${file})
endforeach()
add_custom_target(tessary_packaging_files ALL
                  DEPENDS ${generated}/tessary.1.gz ${generated}/changelog.Debian.gz)
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tessary)
# Software centres (GNOME Software, KDE Discover) list what has metainfo there.
install(FILES ${generated}/${TESSARY_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/tessary.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.Debian.gz ${generated}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessary)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessary)
set(CPACK_PACKAGE_VENDOR "The Tessary developers")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESSARY_HOMEPAGE}")
set(CPACK_PACKAGE_CONTACT "${TESSARY_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture viewer with a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessary shows the BMP, GIF, JPEG and ICO pictures of a folder one at a
time, as pages of twelve thumbnails, or as a timed slideshow, all driven
from a narrow column of buttons that stays above every other window.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TESSARY_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 libraries come from the executable's own links; the Japanese Gothic font is what
# the captions are drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
include(CPack)
