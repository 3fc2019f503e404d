# Installs Plenaro like any desktop program, in the GNU layout below the chosen prefix:
#   bin/plenaro, bin/plenaro-simulator
#   share/plenaro/examples/{DE,EN,bilder}        sample questions and their pictures
#   share/plenaro/<name>                          what the program finds beside itself in a build
#                                                 tree (imagespdf/, translation catalogues)
#   share/applications/example.plenaro.Plenaro.desktop
#   share/icons/hicolor/<size>/apps/example.plenaro.Plenaro.{png,svg}
#   share/metainfo/example.plenaro.Plenaro.metainfo.xml
# and packs the same tree as a Debian package (tools/package.sh).
include(GNUInstallDirs)

set(PLENARO_ANWENDUNGS_ID "example.plenaro.Plenaro")
set(PLENARO_DATEN_ZIEL "${CMAKE_INSTALL_DATADIR}/plenaro")

# The program looks for its data as "../share/plenaro" from its own folder
# (Startregeln::installierteDaten); another layout would install data it never finds.
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
    message(WARNING "Plenaro finds its data only with relative CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR.")
else()
    file(RELATIVE_PATH plenaro_daten_relativ "/p/${CMAKE_INSTALL_BINDIR}" "/p/${PLENARO_DATEN_ZIEL}")
    if(NOT plenaro_daten_relativ STREQUAL "../share/plenaro")
        message(WARNING "Installed data lands at ${plenaro_daten_relativ} from the program, which looks "
                        "for it at ../share/plenaro.")
    endif()
endif()

install(TARGETS plenaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET plenaro-simulator)
    install(TARGETS plenaro-simulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${PLENARO_DATEN_ZIEL}/examples
        PATTERN CMakeLists.txt EXCLUDE)

# plenaro_begleitdaten_installieren(<name> ...)
# Installs files or folders the build puts beside the program (build/bin/<name>) into the shared
# data, where Startregeln::begleitDatei finds them when installed. Whatever is missing at install
# time is left out, so a catalogue compiled into the program needs no change here.
function(plenaro_begleitdaten_installieren)
    foreach(name IN LISTS ARGN)
        set(quelle "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}")
        install(CODE "if(EXISTS \"${quelle}\")
    file(INSTALL \"${quelle}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${PLENARO_DATEN_ZIEL}\")
endif()")
    endforeach()
endfunction()
plenaro_begleitdaten_installieren(imagespdf plenarotandrivelle_en.qm)

set(plenaro_verpackung ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${plenaro_verpackung}/${PLENARO_ANWENDUNGS_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${plenaro_verpackung}/${PLENARO_ANWENDUNGS_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Drawn by tools/artwork ("appicon").
install(DIRECTORY ${plenaro_verpackung}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian package. Its dependencies are what dpkg-shlibdeps finds the binaries linked against
# (packages dpkg-dev and file).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "plenaro")
set(CPACK_PACKAGE_VENDOR "Corvanta")
set(CPACK_PACKAGE_CONTACT "Plenaro <plenaro@plenaro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Classroom voting with wireless four-button handsets")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Plenaro presents multiple-choice questions full screen for classroom and conference voting.\n"
    "The audience answers with four-button wireless handsets whose USB receiver appears as a\n"
    "serial port. Plenaro times every question, scores points and answer times, shows\n"
    "percentages, the correct answer and a ranking, and exports the results as PDF and CSV.\n"
    "Includes plenaro-simulator, which stands in for the receiver to try it without handsets.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://plenaro.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
