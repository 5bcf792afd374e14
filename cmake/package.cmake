# Installing and packaging on Linux and other Unix systems.
#
# Index
#   - Generated files: the xscreensaver settings file and the manual page,
#     written by vyr-describe from the program's option table; the hicolor
#     icons, taken out of vyr.ico by vyr-iconpng
#   - Install rules (GNUInstallDirs)
#   - Debian package (CPack)
#
# Two install components beside the default one: "plain" holds the forms a
# plain `cmake --install` puts down (vyr.6, LICENSE); "debian" holds the forms
# Debian wants instead (vyr.6.gz, copyright, changelog.gz) and is only
# installed into the package.
include(GNUInstallDirs)

set(VYR_MAINTAINER "VYR maintainers <maintainers@users.noreply.c-seed-50695410.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(VYR_SHARE ${CMAKE_BINARY_DIR}/share)
set(VYR_DATA ${CMAKE_SOURCE_DIR}/data)

# ---- Generated files -------------------------------------------------------------
add_executable(vyr-describe tools/describe.cpp)
target_link_libraries(vyr-describe PRIVATE vyrcore)

add_custom_command(OUTPUT ${VYR_SHARE}/vyr.xml
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VYR_SHARE}
  COMMAND vyr-describe xml ${VYR_SHARE}/vyr.xml
  DEPENDS vyr-describe
  COMMENT "Writing the xscreensaver settings file vyr.xml")
add_custom_command(OUTPUT ${VYR_SHARE}/vyr.6
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VYR_SHARE}
  COMMAND vyr-describe man ${VYR_DATA}/vyr.6.in ${VYR_SHARE}/vyr.6
  DEPENDS vyr-describe ${VYR_DATA}/vyr.6.in
  COMMENT "Writing the manual page vyr.6")
# The hicolor icons: the PNG images of the committed Windows icon (scripts/make-icons).
add_executable(vyr-iconpng tools/iconpng.cpp)
set(VYR_ICON_PNGS)
foreach(size 16 32 48 256)
  list(APPEND VYR_ICON_PNGS ${VYR_SHARE}/icons/vyr-${size}.png)
endforeach()
add_custom_command(OUTPUT ${VYR_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VYR_SHARE}/icons
  COMMAND vyr-iconpng ${VYR_DATA}/icons/vyr.ico ${VYR_SHARE}/icons
  DEPENDS vyr-iconpng ${VYR_DATA}/icons/vyr.ico
  COMMENT "Writing the hicolor icons from vyr.ico")
configure_file(${VYR_DATA}/changelog.in ${VYR_SHARE}/changelog @ONLY)
# Compressed without names or times, so that the package is reproducible.
add_custom_command(OUTPUT ${VYR_SHARE}/vyr.6.gz ${VYR_SHARE}/changelog.gz
  COMMAND gzip -9nkf ${VYR_SHARE}/vyr.6 ${VYR_SHARE}/changelog
  DEPENDS ${VYR_SHARE}/vyr.6 ${VYR_SHARE}/changelog)
add_custom_target(vyr-share ALL
  DEPENDS ${VYR_SHARE}/vyr.xml ${VYR_SHARE}/vyr.6 ${VYR_SHARE}/vyr.6.gz ${VYR_SHARE}/changelog.gz ${VYR_ICON_PNGS})

# xscreensaver runs its hacks from libexec/xscreensaver: a relative link to
# the one program there.
file(RELATIVE_PATH VYR_LIBEXEC_LINK /p/${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver /p/${CMAKE_INSTALL_BINDIR}/vyr)
file(MAKE_DIRECTORY ${VYR_SHARE}/libexec)
file(CREATE_LINK ${VYR_LIBEXEC_LINK} ${VYR_SHARE}/libexec/vyr SYMBOLIC)

# ---- Install rules ------------------------------------------------------------------
set(VYR_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vyr)
install(TARGETS vyr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${VYR_SHARE}/libexec/vyr DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver COMPONENT runtime)
install(FILES ${VYR_SHARE}/vyr.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/xscreensaver/config COMPONENT runtime)
install(FILES ${VYR_DATA}/vyr.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT runtime)
install(FILES ${VYR_DATA}/vyr-screensaver.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications/screensavers
        RENAME vyr.desktop COMPONENT runtime)
install(FILES README.md DESTINATION ${VYR_DOCDIR} COMPONENT runtime)
# The icon both desktop entries name, made from VYR's own picture (scripts/make-icons).
foreach(size 16 32 48 256)
  install(FILES ${VYR_SHARE}/icons/vyr-${size}.png DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
          RENAME vyr.png COMPONENT runtime)
endforeach()
install(FILES ${VYR_DATA}/example.vyr.VYR.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT runtime)

install(FILES ${VYR_SHARE}/vyr.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT plain)
install(FILES LICENSE DESTINATION ${VYR_DOCDIR} COMPONENT plain)

install(FILES ${VYR_SHARE}/vyr.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${VYR_SHARE}/changelog.gz DESTINATION ${VYR_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES LICENSE DESTINATION ${VYR_DOCDIR} RENAME copyright COMPONENT debian EXCLUDE_FROM_ALL)

# ---- Debian package ---------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vyr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VYR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "morphing attractors of random iterated function systems")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "VYR draws the attractor of a random iterated function system as a cloud of"
  "points running the chaos game, and every few seconds morphs one random"
  "attractor into the next, under a slowly drifting colour map."
  "It runs as a screen saver, in a window with a settings menu, or inside"
  "xscreensaver, xsecurelock and MATE; the package brings its xscreensaver"
  "settings file, a manual page and desktop entries.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL runtime debian)
set(CPACK_DEBIAN_PACKAGE_NAME vyr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, swayidle")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
