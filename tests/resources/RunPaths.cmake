# Reads back with `readelf -d` the run paths (RPATH and RUNPATH) of every
# binary in the folder of PROGRAM, where the build puts all its executables,
# and fails on an empty entry.
# Usage: cmake -DREADELF=<readelf> -DPROGRAM=<bin/korvane> -P RunPaths.cmake
cmake_minimum_required(VERSION 3.22)
get_filename_component(folder "${PROGRAM}" DIRECTORY)
file(GLOB binaries LIST_DIRECTORIES false "${folder}/*")
if(NOT PROGRAM IN_LIST binaries)
    message(FATAL_ERROR "${PROGRAM} is not built")
endif()
foreach(binary IN LISTS binaries)
    execute_process(COMMAND ${READELF} -d ${binary}
        OUTPUT_VARIABLE dynamic ERROR_VARIABLE error RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "readelf -d ${binary}: ${error}")
    endif()
    # " 0x...1d (RUNPATH)  Library runpath: [a:b]"
    string(REGEX MATCHALL "Library r(un)?path: \\[[^]\n]*\\]" paths "${dynamic}")
    foreach(path IN LISTS paths)
        string(REGEX REPLACE "^[^[]*\\[(.*)\\]$" "\\1" path "${path}")
        if(path STREQUAL "" OR path MATCHES "(^:|::|:$)")
            message(FATAL_ERROR "${binary} has a run path with an empty entry: [${path}]")
        endif()
    endforeach()
    message(STATUS "${binary}: run paths [${paths}]")
endforeach()
