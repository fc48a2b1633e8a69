# cmake -DROOT=<source> -DFOLDER=<folder> -DALLOWED=<a,b,...> -P check-layer.cmake
cmake_minimum_required(VERSION 3.25)

# Fails when a C++ file under ROOT/FOLDER includes a project header ("folder/File.h") from a
# folder not in ALLOWED: the layer would use code it does not link.
string(REPLACE "," ";" allowed "${ALLOWED}")
file(GLOB_RECURSE files ${ROOT}/${FOLDER}/*.cpp ${ROOT}/${FOLDER}/*.h)
set(faults "")
foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"/]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"/]+)/.*" "\\1" used "${line}")
        if(NOT used IN_LIST allowed)
            file(RELATIVE_PATH name ${ROOT} ${file})
            string(APPEND faults "  ${name}: ${line}\n")
        endif()
    endforeach()
endforeach()
list(JOIN allowed "/, " folders)
if(faults)
    message(FATAL_ERROR "${FOLDER}/ may include only from ${folders}/:\n${faults}")
endif()
list(LENGTH files count)
message(STATUS "${FOLDER}/: ${count} files include only from ${folders}/")
