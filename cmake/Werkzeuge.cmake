# The artwork and sound generators and the page tool are projects of their own (see their
# CMakeLists.txt). The main build builds them as well, so a change that breaks them shows at once;
# the reproduction tests in tests/install run the generators. They are never installed.
option(PLENARO_WERKZEUGE "Build tools/artwork, tools/soundgen and tools/pageshot with the program"
       ${BUILD_TESTING})

if(PLENARO_WERKZEUGE)
    set(plenaro_werkzeug_bau "")
    find_package(Qt6 6.4 QUIET COMPONENTS Svg)
    if(NOT Qt6Svg_FOUND)
        message(FATAL_ERROR "tools/artwork needs Qt6 Svg: run tools/setup.sh (Debian package qt6-svg-dev) "
                            "or configure with -DPLENARO_WERKZEUGE=OFF.")
    endif()
else()
    # Still buildable by name: cmake --build build --target artwork soundgen pageshot
    set(plenaro_werkzeug_bau EXCLUDE_FROM_ALL)
    find_package(Qt6 6.4 QUIET COMPONENTS Svg)
endif()

if(Qt6Svg_FOUND)
    add_subdirectory(tools/artwork ${CMAKE_BINARY_DIR}/tools/artwork ${plenaro_werkzeug_bau})
endif()
add_subdirectory(tools/soundgen ${CMAKE_BINARY_DIR}/tools/soundgen ${plenaro_werkzeug_bau})
add_subdirectory(tools/pageshot ${CMAKE_BINARY_DIR}/tools/pageshot ${plenaro_werkzeug_bau})
