# realtopia_layer(TARGET FOLDER [USES LAYER...] [EXCLUDE FILE...]): a static library of the
# .cpp files in FOLDER (without the EXCLUDEd ones), linking the layers it USES and nothing
# else. The folders its files may include from are its own and those its layers may: the
# test layer_FOLDER checks them (cmake/check-layer.cmake).
function(realtopia_layer target folder)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES;EXCLUDE")
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS arg_EXCLUDE)
        list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${folder}/${file})
    endforeach()
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${arg_USES} PRIVATE realtopia_warnings)
    realtopia_layer_folders(${target} ${folder} ${arg_USES})
endfunction()

# Records which folders TARGET's FOLDER may include from: its own and those of the layers it
# uses. For a library made otherwise (the desktop's, with Qt).
function(realtopia_layer_folders target folder)
    set(folders ${folder})
    foreach(layer IN LISTS ARGN)
        get_target_property(used ${layer} REALTOPIA_LAYER_FOLDERS)
        list(APPEND folders ${used})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    set_target_properties(${target} PROPERTIES REALTOPIA_LAYER_FOLDERS "${folders}")
    set_property(GLOBAL APPEND PROPERTY REALTOPIA_LAYERS ${target})
    set_property(GLOBAL PROPERTY REALTOPIA_LAYER_FOLDER_${target} ${folder})
endfunction()

# One test a layer: its folder includes only from the folders it may.
function(realtopia_layer_tests)
    get_property(layers GLOBAL PROPERTY REALTOPIA_LAYERS)
    foreach(target IN LISTS layers)
        get_property(folder GLOBAL PROPERTY REALTOPIA_LAYER_FOLDER_${target})
        get_target_property(folders ${target} REALTOPIA_LAYER_FOLDERS)
        string(REPLACE ";" "," allowed "${folders}")
        add_test(NAME layer_${folder}
                 COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DFOLDER=${folder}
                         -DALLOWED=${allowed} -P ${PROJECT_SOURCE_DIR}/cmake/check-layer.cmake)
    endforeach()
endfunction()
