# Installs Plenaro like any desktop program, in the GNU layout below the chosen prefix:
#   bin/plenaro, bin/plenaro-simulator
#   share/plenaro/examples/{DE,EN,bilder}        sample questions and their pictures
#   share/plenaro/<name>                          what the program finds beside itself in a build
#                                                 tree (imagespdf/, translation catalogues)
#   share/applications/example.plenaro.Plenaro.desktop
#   share/icons/hicolor/<size>/apps/example.plenaro.Plenaro.{png,svg}
#   share/metainfo/example.plenaro.Plenaro.metainfo.xml
#   share/mime/packages/plenaro.xml                the type of question files
#   share/man/man1/plenaro.1.gz, plenaro-simulator.1.gz
#   share/doc/plenaro/copyright, changelog.Debian.gz
# and packs the same tree as a Debian package (tools/package.sh).
include(GNUInstallDirs)

# Whatever the umask of the machine that packs: folders as a distribution has them.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

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

set(plenaro_programme plenaro)
if(TARGET plenaro-simulator)
    list(APPEND plenaro_programme plenaro-simulator)
endif()
# Both programs link no library of their own (every subsystem is a static library) and Qt's from
# the system's folders, so installed they need no RUNPATH: the $ORIGIN/../lib that
# qt_standard_project_setup() would give them is of no use to a moved tree and is refused in a
# distribution's package.
set_target_properties(${plenaro_programme} PROPERTIES INSTALL_RPATH "")
install(TARGETS ${plenaro_programme} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package) also drops the compiler's notes, as Debian's own packages do.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    foreach(programm ${plenaro_programme})
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${programm}\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()")

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
# Question files are XML like many others: the type is told by the root element ArrayOfQuestion.
install(FILES ${plenaro_verpackung}/mime/plenaro.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Manual pages and the package's documentation, compressed the way Debian wants them: gzip -9
# without name and time stamp, so the same sources give the same bytes.
find_program(PLENARO_GZIP gzip REQUIRED)
set(plenaro_doku_ziel "${CMAKE_INSTALL_DATADIR}/doc/plenaro")
set(plenaro_gepackt "${CMAKE_CURRENT_BINARY_DIR}/gepackt")
set(plenaro_gepackte_dateien)
# plenaro_packen(<source below packaging/> <name in the package without .gz> <destination>)
function(plenaro_packen quelle name ziel)
    set(ausgabe "${plenaro_gepackt}/${name}.gz")
    add_custom_command(OUTPUT ${ausgabe}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${plenaro_gepackt}
                       COMMAND ${CMAKE_COMMAND} -E copy ${plenaro_verpackung}/${quelle}
                               ${plenaro_gepackt}/${name}
                       COMMAND ${PLENARO_GZIP} -9nf ${plenaro_gepackt}/${name}
                       DEPENDS ${plenaro_verpackung}/${quelle}
                       VERBATIM)
    install(FILES ${ausgabe} DESTINATION ${ziel})
    set(plenaro_gepackte_dateien ${plenaro_gepackte_dateien} ${ausgabe} PARENT_SCOPE)
endfunction()
plenaro_packen(plenaro.1 plenaro.1 ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET plenaro-simulator)
    plenaro_packen(plenaro-simulator.1 plenaro-simulator.1 ${CMAKE_INSTALL_MANDIR}/man1)
endif()
plenaro_packen(changelog changelog.Debian ${plenaro_doku_ziel})
add_custom_target(plenaro_gepackt ALL DEPENDS ${plenaro_gepackte_dateien})
install(FILES ${plenaro_verpackung}/copyright DESTINATION ${plenaro_doku_ziel})
install(FILES ${plenaro_verpackung}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME plenaro)

# Debian package. Its dependencies are what dpkg-shlibdeps finds the binaries linked against
# (packages dpkg-dev and file).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "plenaro")
set(CPACK_PACKAGE_VENDOR "Corvanta")
set(CPACK_PACKAGE_CONTACT "Plenaro <plenaro@plenaro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Classroom voting with wireless four-button handsets")
# Debian shows the description as it is: lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Plenaro presents multiple-choice questions full screen for classroom and\n"
    "conference voting. The audience answers with four-button wireless handsets,\n"
    "whose USB receiver appears as a serial port, or with phones on the room's\n"
    "network. Plenaro times every question, scores points and answer times, shows\n"
    "percentages, the correct answer and a ranking, and exports the results as\n"
    "PDF, CSV and spreadsheet.\n"
    "\n"
    "Includes plenaro-simulator, which stands in for the receiver to try Plenaro\n"
    "without handsets.")
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
# Qt's own texts (the buttons of message boxes, the file dialogs) in German come from there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
