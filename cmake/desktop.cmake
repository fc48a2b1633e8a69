# Layer 3: the Qt desktop program. Every Qt file lives in desktop/.
find_package(Qt6 REQUIRED COMPONENTS Widgets Svg Multimedia Test)

file(GLOB QT_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/desktop/*.cpp ${PROJECT_SOURCE_DIR}/desktop/*.h)
list(FILTER QT_SOURCES EXCLUDE REGEX ".*/main\\.cpp$")

add_library(realtopia_qt STATIC ${QT_SOURCES})
set_target_properties(realtopia_qt PROPERTIES AUTOMOC ON)
target_link_libraries(realtopia_qt
    PUBLIC realtopia_frontend Qt6::Widgets Qt6::Svg
    PRIVATE realtopia_warnings)
realtopia_layer_folders(realtopia_qt desktop realtopia_frontend)
# On X11 the ticker copies its steps from a picture the display server keeps
# (desktop/X11StripDrawer); without libxcb it paints them as every widget does.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(XCB QUIET IMPORTED_TARGET xcb)
endif()
if(XCB_FOUND)
    target_link_libraries(realtopia_qt PRIVATE PkgConfig::XCB)
    target_compile_definitions(realtopia_qt PRIVATE REALTOPIA_HAVE_XCB)
endif()

# The sound module: everything that needs Qt Multimedia, whose two dozen libraries the program
# opens only on its first sound (desktop/SoundModule). It lies beside the program in the build
# directory and in <libdir>/realtopia/plugins when installed; the program finds it at either
# place.
set(REALTOPIA_SOUND_MODULE_NAME realtopia-sound)
add_library(realtopia_sound MODULE
    ${PROJECT_SOURCE_DIR}/desktop/sound/SoundPlayer.cpp
    ${PROJECT_SOURCE_DIR}/desktop/sound/SoundPlayer.h
    ${PROJECT_SOURCE_DIR}/desktop/SoundOutput.h)
set_target_properties(realtopia_sound PROPERTIES
    AUTOMOC ON PREFIX "" OUTPUT_NAME ${REALTOPIA_SOUND_MODULE_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(realtopia_sound PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(realtopia_sound PRIVATE Qt6::Multimedia realtopia_warnings)
file(RELATIVE_PATH sound_module_from_program
     /prefix/${REALTOPIA_INSTALL_GAMESDIR} /prefix/${REALTOPIA_INSTALL_MODULEDIR})
set(sound_module_file ${REALTOPIA_SOUND_MODULE_NAME}.so)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/desktop/SoundModule.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS
        REALTOPIA_SOUND_MODULE_NAME="${sound_module_file}"
        REALTOPIA_SOUND_MODULE_INSTALLED="${sound_module_from_program}/${sound_module_file}")

# Pictures and sounds, compiled into the program. Sounds are found as :/WAVEFILE/<NAME>.wav.
file(GLOB_RECURSE RESOURCE_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/resources
    ${PROJECT_SOURCE_DIR}/resources/*.svg ${PROJECT_SOURCE_DIR}/resources/*.wav
    ${PROJECT_SOURCE_DIR}/resources/*.png)
set(RESOURCE_PATHS "")
foreach(f IN LISTS RESOURCE_FILES)
    list(APPEND RESOURCE_PATHS ${PROJECT_SOURCE_DIR}/resources/${f})
endforeach()
# The sponsor's logo as pictures at one and two device pixels a pixel, at the splash's size and
# at the main window's, drawn from the SVG by render_picture when the program is built, so
# neither window draws it from the SVG.
add_executable(render_picture ${PROJECT_SOURCE_DIR}/tools/render_picture.cpp
    ${PROJECT_SOURCE_DIR}/desktop/RawPicture.cpp)
target_include_directories(render_picture PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(render_picture PRIVATE Qt6::Svg Qt6::Gui realtopia_warnings)
set(pictures_dir ${PROJECT_BINARY_DIR}/pictures)
file(MAKE_DIRECTORY ${pictures_dir})
add_custom_command(OUTPUT ${pictures_dir}/sponsor.argb ${pictures_dir}/sponsor@2x.argb
        ${pictures_dir}/sponsor-small.argb ${pictures_dir}/sponsor-small@2x.argb
    COMMAND render_picture ${PROJECT_SOURCE_DIR}/resources/sponsor.svg
            ${pictures_dir}/sponsor.argb 396x102 ${pictures_dir}/sponsor@2x.argb 792x204
            ${pictures_dir}/sponsor-small.argb 140x36 ${pictures_dir}/sponsor-small@2x.argb 280x72
    DEPENDS render_picture ${PROJECT_SOURCE_DIR}/resources/sponsor.svg
    COMMENT "Drawing the sponsor's logo at 1x and 2x"
    VERBATIM)
foreach(picture sponsor.argb sponsor@2x.argb sponsor-small.argb sponsor-small@2x.argb)
    set_source_files_properties(${pictures_dir}/${picture} PROPERTIES
        GENERATED TRUE QT_RESOURCE_ALIAS ${picture})
    list(APPEND RESOURCE_PATHS ${pictures_dir}/${picture})
endforeach()

if(RESOURCE_PATHS)
    qt_add_resources(realtopia_qt "realtopia_resources"
        PREFIX "/" BASE ${PROJECT_SOURCE_DIR}/resources FILES ${RESOURCE_PATHS})
endif()

# The splash without its buttons, drawn by the splash itself at 1x and 2x when the program is
# built, with its labels' places: the program shows it at its start instead of opening five
# font faces and measuring the labels (desktop/SplashWindow.h). Only the program holds it, so
# the tests' windows draw as usual unless a test gives them a picture.
add_executable(render_splash ${PROJECT_SOURCE_DIR}/tools/render_splash.cpp)
target_include_directories(render_splash PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(render_splash PRIVATE realtopia_qt realtopia_warnings)
add_custom_command(OUTPUT ${pictures_dir}/splash.argb ${pictures_dir}/splash@2x.argb
        ${pictures_dir}/splash.places
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:render_splash>
            ${pictures_dir}/splash.argb 1 ${pictures_dir}/splash.places
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:render_splash>
            ${pictures_dir}/splash@2x.argb 2
    DEPENDS render_splash
    COMMENT "Drawing the splash at 1x and 2x"
    VERBATIM)

if(EXISTS ${PROJECT_SOURCE_DIR}/desktop/main.cpp)
    add_executable(realtopia ${PROJECT_SOURCE_DIR}/desktop/main.cpp)
    target_link_libraries(realtopia PRIVATE realtopia_qt realtopia_warnings)
    add_dependencies(realtopia realtopia_sound)
    set_source_files_properties(${pictures_dir}/splash.argb ${pictures_dir}/splash@2x.argb
        ${pictures_dir}/splash.places PROPERTIES GENERATED TRUE)
    # The picture at 1x is shown where it lies in the program, so it is kept uncompressed.
    qt_add_resources(realtopia "splash_picture" PREFIX "/" BASE ${pictures_dir}
        OPTIONS --no-compress FILES ${pictures_dir}/splash.argb)
    qt_add_resources(realtopia "splash_picture_more" PREFIX "/" BASE ${pictures_dir}
        FILES ${pictures_dir}/splash@2x.argb ${pictures_dir}/splash.places)
endif()

# Draws the Market Report of a seeded game into a PNG (the README's picture); built on demand.
add_executable(report_picture EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tools/report_picture.cpp)
target_link_libraries(report_picture PRIVATE realtopia_qt realtopia_warnings)
target_include_directories(report_picture PRIVATE ${PROJECT_SOURCE_DIR}/tests)
