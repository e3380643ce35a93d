# The desktop integration files and the Debian package.

set(FERROVANE_APP_ID io.github.ferrovane.Ferrovane)

configure_file(${PROJECT_SOURCE_DIR}/packaging/${FERROVANE_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${FERROVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${FERROVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${FERROVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The design files' type, so that file managers open them with Ferrovane.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${FERROVANE_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The icon takes the application's id, as the desktop entry names it.
install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/ferrovane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${FERROVANE_APP_ID}.svg)

# Debian's copyright file, machine-readable, and the package's changelog,
# compressed as Debian wants it (gzip -9n: no name or time in the header, so
# the same release always gives the same bytes).
set(FERROVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/ferrovane)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${FERROVANE_DOC_DIR})
execute_process(COMMAND date -u -R -d ${FERROVANE_RELEASE_DATE}
                OUTPUT_VARIABLE FERROVANE_RELEASE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in
               ${PROJECT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
    COMMAND ${GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
            -c > ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
    COMMENT "Compressing the Debian changelog")
add_custom_target(ferrovane_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz DESTINATION ${FERROVANE_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ferrovane)
set(CPACK_PACKAGE_VENDOR "The Ferrovane developers")
set(CPACK_PACKAGE_CONTACT "The Ferrovane developers <ferrovane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "circuit-design calculators for radio and electronics hobbyists")
set(CPACK_PACKAGE_DESCRIPTION
    "Ferrovane is a suite of circuit-design calculators: voltage dividers from\n\
standard resistor values, reactance and resonance, series RLC and Q, tuned\n\
lines, L, Pi and capacitive-divider matching networks, transistor bias and\n\
amplifier gain, and more.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/ferrovane/ferrovane")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# dpkg-shlibdeps names the package of every library the program links (Qt
# Widgets, Svg, SvgWidgets, PrintSupport, ...). The platform plugins that let
# Qt open a window are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# "Check with ngspice" runs the simulator when it is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ngspice")
include(CPack)
