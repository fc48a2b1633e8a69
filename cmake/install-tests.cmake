# Checks of what a user and a distribution see: the programs' command lines, the self-test,
# the menu entry and AppStream metadata as the desktop tools read them, and the Debian package.

# --help and --version are answered before anything starts: an unusable display platform and
# closed input must not matter.
set(no_display_environment "QT_QPA_PLATFORM=no-such-platform" "DISPLAY=" "WAYLAND_DISPLAY=")
string(REPLACE "." "\\." build_label "Build: ${REALTOPIA_BUILD}")
string(REPLACE "." "\\." version_label "${PROJECT_VERSION}")

if(TARGET realtopia-console)
    add_test(NAME console_help COMMAND realtopia-console --help)
    set_tests_properties(console_help PROPERTIES
        PASS_REGULAR_EXPRESSION
            "^usage: realtopia-console \\[noini\\] \\[--seed N\\] \\[--debug\\].*--seed N.*${build_label}"
        TIMEOUT 20)
    add_test(NAME console_version COMMAND realtopia-console --version)
    set_tests_properties(console_version PROPERTIES
        PASS_REGULAR_EXPRESSION "^realtopia-console ${version_label}\n${build_label}\n$"
        TIMEOUT 20)
endif()

if(REALTOPIA_DESKTOP AND TARGET realtopia)
    add_test(NAME desktop_help COMMAND realtopia --help)
    set_tests_properties(desktop_help PROPERTIES
        PASS_REGULAR_EXPRESSION "^Usage: realtopia \\[noini\\] \\[--self-test\\].*--version"
        ENVIRONMENT "${no_display_environment}"
        TIMEOUT 20)
    add_test(NAME desktop_version COMMAND realtopia --version)
    set_tests_properties(desktop_version PROPERTIES
        PASS_REGULAR_EXPRESSION "^realtopia ${version_label}\n${build_label}\n$"
        ENVIRONMENT "${no_display_environment}"
        TIMEOUT 20)

    # Every window, picture and sound, off the screen; the per-user directories point into
    # the build directory so the test never touches the home directory.
    set(self_test_home ${PROJECT_BINARY_DIR}/test-home)
    file(MAKE_DIRECTORY ${self_test_home}/data ${self_test_home}/config ${self_test_home}/cache
         ${self_test_home}/runtime)
    file(CHMOD ${self_test_home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE
         OWNER_EXECUTE)
    add_test(NAME desktop_self_test COMMAND realtopia --self-test)
    set_tests_properties(desktop_self_test PROPERTIES
        ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;HOME=${self_test_home};XDG_DATA_HOME=${self_test_home}/data;XDG_CONFIG_HOME=${self_test_home}/config;XDG_CACHE_HOME=${self_test_home}/cache;XDG_RUNTIME_DIR=${self_test_home}/runtime"
        FAIL_REGULAR_EXPRESSION "self-test:"
        TIMEOUT 60)

    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(DESKTOP_FILE_VALIDATE)
        add_test(NAME desktop_file_validate
                 COMMAND ${DESKTOP_FILE_VALIDATE} ${REALTOPIA_DESKTOP_FILE})
        set_tests_properties(desktop_file_validate PROPERTIES
            FAIL_REGULAR_EXPRESSION "(error|warning):")
    endif()
    find_program(APPSTREAMCLI appstreamcli)
    if(APPSTREAMCLI)
        add_test(NAME appstream_validate
                 COMMAND ${APPSTREAMCLI} validate --no-net --strict ${REALTOPIA_METAINFO_FILE})
    endif()

    # The package is built afresh in a directory of its own, so the test neither needs nor
    # disturbs a `make package`.
    find_program(DPKG_DEB dpkg-deb)
    find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
    find_program(FILE_PROGRAM file)  # cpack tells programs from data with it
    # When lintian is there (`scripts/install-deps.sh package`), the package must pass it.
    find_program(LINTIAN_PROGRAM lintian)
    if(DPKG_DEB AND DPKG_SHLIBDEPS AND FILE_PROGRAM)
        string(REPLACE ";" "," icon_sizes "${REALTOPIA_ICON_SIZES}")
        add_test(NAME debian_package
            COMMAND ${CMAKE_COMMAND}
                -D CPACK=${CMAKE_CPACK_COMMAND}
                -D DPKG_DEB=${DPKG_DEB}
                -D CONFIG=${PROJECT_BINARY_DIR}/CPackConfig.cmake
                -D WORK_DIR=${PROJECT_BINARY_DIR}/package-test
                -D VERSION=${PROJECT_VERSION}
                -D APP_ID=${REALTOPIA_APP_ID}
                -D GAMESDIR=${REALTOPIA_INSTALL_GAMESDIR}
                -D MODULEDIR=${REALTOPIA_INSTALL_MODULEDIR}
                -D ICON_SIZES=${icon_sizes}
                -D LINTIAN=${LINTIAN_PROGRAM}
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckDebianPackage.cmake)
        set_tests_properties(debian_package PROPERTIES TIMEOUT 300)
    endif()
endif()
