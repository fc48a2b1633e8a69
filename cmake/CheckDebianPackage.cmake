# Builds the Debian package in WORK_DIR and checks its name, its files and its control fields.
#   cmake -D CPACK=... -D DPKG_DEB=... -D CONFIG=CPackConfig.cmake -D WORK_DIR=... -D VERSION=...
#         -D APP_ID=... -D GAMESDIR=games -D MODULEDIR=lib/realtopia/plugins
#         -D ICON_SIZES=16,32,... [-D LINTIAN=...] -P CheckDebianPackage.cmake
# With LINTIAN, lintian must find no error and no warning in the package.

foreach(var CPACK DPKG_DEB CONFIG WORK_DIR VERSION APP_ID GAMESDIR MODULEDIR ICON_SIZES)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CheckDebianPackage: ${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${CONFIG} -B ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK_DIR}/realtopia_${VERSION}_${arch}.deb)
if(NOT EXISTS ${deb})
    file(GLOB made ${WORK_DIR}/*.deb)
    message(FATAL_ERROR "expected ${deb}, cpack made: ${made}")
endif()

execute_process(COMMAND ${DPKG_DEB} -c ${deb} RESULT_VARIABLE result OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c ${deb} failed")
endif()

string(REPLACE "." "\\." app_id "${APP_ID}")
string(REPLACE "." "\\." version "${VERSION}")

# One listing line per file: "-rwxr-xr-x root/root 12345 2000-01-01 00:00 ./usr/games/x".
set(expected
    "x /usr/${GAMESDIR}/realtopia"
    "x /usr/${GAMESDIR}/realtopia-console"
    "m /usr/${MODULEDIR}/realtopia-sound\\.so"
    "- /usr/share/applications/${app_id}\\.desktop"
    "- /usr/share/metainfo/${app_id}\\.metainfo\\.xml"
    "- /usr/share/icons/hicolor/scalable/apps/realtopia\\.svg"
    "- /usr/share/man/man6/realtopia\\.6(\\.gz)?"
    "- /usr/share/man/man6/realtopia-console\\.6(\\.gz)?"
    "- /usr/share/doc/realtopia/copyright"
    "- /usr/share/doc/realtopia/changelog\\.gz")
string(REPLACE "," ";" sizes "${ICON_SIZES}")
foreach(size IN LISTS sizes)
    list(APPEND expected "- /usr/share/icons/hicolor/${size}x${size}/apps/realtopia\\.png")
endforeach()

set(missing "")
foreach(entry IN LISTS expected)
    # The first character says whether the program bit must be set ("m": either will do).
    string(SUBSTRING "${entry}" 0 1 kind)
    string(SUBSTRING "${entry}" 2 -1 path)
    if(kind STREQUAL "x")
        set(mode "-rwxr-xr-x")
    elseif(kind STREQUAL "m")
        set(mode "-rw[x-]r-[x-]r-[x-]")
    else()
        set(mode "-rw-r--r--")
    endif()
    if(NOT listing MATCHES "(^|\n)${mode} root/root +[0-9]+ [^\n]* \\.${path}(\n|$)")
        list(APPEND missing "${mode} ${path}")
    endif()
endforeach()
if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "${deb} lacks:\n  ${missing}\nIt holds:\n${listing}")
endif()

execute_process(COMMAND ${DPKG_DEB} -f ${deb} Package Version Section Depends
                RESULT_VARIABLE result OUTPUT_VARIABLE fields)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -f ${deb} failed")
endif()
string(REGEX REPLACE "\n " " " fields "${fields}")
foreach(wanted
        "Package: realtopia\n"
        "Version: ${version}\n"
        "Section: games\n"
        "Depends: [^\n]*fonts-liberation2"
        "Depends: [^\n]*libqt6widgets6"
        "Depends: [^\n]*libqt6svg6"
        "Depends: [^\n]*libqt6multimedia6")
    if(NOT fields MATCHES "${wanted}")
        message(FATAL_ERROR "the control fields do not match '${wanted}':\n${fields}")
    endif()
endforeach()

if(LINTIAN)
    execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${deb}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lintian finds fault with ${deb}:\n${output}")
    endif()
endif()

# Installed where the package puts it, the program finds its sound module: the self-test
# loads it.
set(root ${WORK_DIR}/root)
execute_process(COMMAND ${DPKG_DEB} -x ${deb} ${root} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -x ${deb} failed")
endif()
file(MAKE_DIRECTORY ${WORK_DIR}/home/runtime)
file(CHMOD ${WORK_DIR}/home/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=REALTOPIA_SOUND_MODULE QT_QPA_PLATFORM=offscreen
            HOME=${WORK_DIR}/home XDG_DATA_HOME=${WORK_DIR}/home/data
            XDG_RUNTIME_DIR=${WORK_DIR}/home/runtime
            ${root}/usr/${GAMESDIR}/realtopia --self-test
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the packaged program's self-test failed (${result}):\n${output}")
endif()

message(STATUS "${deb}\n${fields}")
file(REMOVE_RECURSE ${WORK_DIR})
