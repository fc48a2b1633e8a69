# `cmake --install`: the programs, the menu entry, the icon in the hicolor theme, the AppStream
# metadata, the manual pages and the documentation, laid out as a Linux desktop expects.
# The directories themselves are chosen in the top CMakeLists.txt.
set(REALTOPIA_APP_ID io.github.realtopia.Realtopia)
set(REALTOPIA_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/realtopia)
set(REALTOPIA_ICON_SIZES 16 32 48 64 128 256)

if(TARGET realtopia-console)
    install(TARGETS realtopia-console RUNTIME DESTINATION ${REALTOPIA_INSTALL_GAMESDIR})
endif()

# Manual pages in section 6 (games), carrying the project's version; compressed when gzip is
# there, as distributions install them.
find_program(GZIP_PROGRAM gzip)
set(REALTOPIA_MAN_PAGES realtopia-console)
if(REALTOPIA_DESKTOP)
    list(APPEND REALTOPIA_MAN_PAGES realtopia)
endif()
set(REALTOPIA_MAN_FILES "")
foreach(page IN LISTS REALTOPIA_MAN_PAGES)
    set(man ${PROJECT_BINARY_DIR}/man/${page}.6)
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.6.in ${man} @ONLY)
    if(GZIP_PROGRAM)
        add_custom_command(OUTPUT ${man}.gz
            COMMAND ${GZIP_PROGRAM} -9 -n -k -f ${man}
            DEPENDS ${man}
            COMMENT "Compressing the manual page ${page}.6"
            VERBATIM)
        list(APPEND REALTOPIA_MAN_FILES ${man}.gz)
    else()
        list(APPEND REALTOPIA_MAN_FILES ${man})
    endif()
endforeach()
add_custom_target(realtopia_man_pages ALL DEPENDS ${REALTOPIA_MAN_FILES})
install(FILES ${REALTOPIA_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/CONSOLE.md
              ${PROJECT_SOURCE_DIR}/docs/SAVEDGAME.md
        DESTINATION ${REALTOPIA_INSTALL_DOCDIR})
# The copyright file in Debian's machine-readable format, and the package's changelog
# (compressed as Debian keeps it).
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${REALTOPIA_INSTALL_DOCDIR})
set(REALTOPIA_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${REALTOPIA_CHANGELOG} @ONLY)
if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${REALTOPIA_CHANGELOG}.gz
        COMMAND ${GZIP_PROGRAM} -9 -n -k -f ${REALTOPIA_CHANGELOG}
        DEPENDS ${REALTOPIA_CHANGELOG}
        COMMENT "Compressing the changelog"
        VERBATIM)
    add_custom_target(realtopia_changelog ALL DEPENDS ${REALTOPIA_CHANGELOG}.gz)
    install(FILES ${REALTOPIA_CHANGELOG}.gz DESTINATION ${REALTOPIA_INSTALL_DOCDIR})
else()
    install(FILES ${REALTOPIA_CHANGELOG} DESTINATION ${REALTOPIA_INSTALL_DOCDIR})
endif()

if(REALTOPIA_DESKTOP AND TARGET realtopia)
    install(TARGETS realtopia RUNTIME DESTINATION ${REALTOPIA_INSTALL_GAMESDIR})
    install(TARGETS realtopia_sound LIBRARY DESTINATION ${REALTOPIA_INSTALL_MODULEDIR})

    set(REALTOPIA_DESKTOP_FILE
        ${PROJECT_SOURCE_DIR}/resources/desktop/${REALTOPIA_APP_ID}.desktop)
    set(REALTOPIA_METAINFO_FILE ${PROJECT_BINARY_DIR}/desktop/${REALTOPIA_APP_ID}.metainfo.xml)
    configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/${REALTOPIA_APP_ID}.metainfo.xml.in
                   ${REALTOPIA_METAINFO_FILE} @ONLY)
    install(FILES ${REALTOPIA_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${REALTOPIA_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The icon: the SVG as it is, and PNGs drawn from it by render_icon at build time.
    set(REALTOPIA_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icon/realtopia.svg)
    add_executable(render_icon ${PROJECT_SOURCE_DIR}/tools/render_icon.cpp)
    target_link_libraries(render_icon PRIVATE Qt6::Svg Qt6::Gui realtopia_warnings)

    set(icon_outputs "")
    set(icon_arguments "")
    foreach(size IN LISTS REALTOPIA_ICON_SIZES)
        set(dir ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps)
        file(MAKE_DIRECTORY ${dir})
        list(APPEND icon_outputs ${dir}/realtopia.png)
        list(APPEND icon_arguments ${dir}/realtopia.png ${size})
        install(FILES ${dir}/realtopia.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    list(JOIN REALTOPIA_ICON_SIZES ", " icon_sizes_text)
    add_custom_command(OUTPUT ${icon_outputs}
        COMMAND render_icon ${REALTOPIA_ICON_SVG} ${icon_arguments}
        DEPENDS render_icon ${REALTOPIA_ICON_SVG}
        COMMENT "Drawing the icon at ${icon_sizes_text} pixels"
        VERBATIM)
    add_custom_target(realtopia_icons ALL DEPENDS ${icon_outputs})
    install(FILES ${REALTOPIA_ICON_SVG}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
