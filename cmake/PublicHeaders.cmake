# korvane_public_headers(TARGET header.h ...): the headers that what links
# TARGET may include, as "<folder>/header.h" with the folder's path from the
# source root ("classify/vessel.h"), and nothing else. Each target gets an
# include folder of its own in the build tree, holding one forwarding header
# per public header, so that linking bounds what a file can include: the
# source root itself is on no include path.
function(korvane_public_headers target)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(root ${PROJECT_BINARY_DIR}/include/${target})
    foreach(header IN LISTS ARGN)
        file(CONFIGURE OUTPUT ${root}/${folder}/${header}
            CONTENT "#include \"${CMAKE_CURRENT_SOURCE_DIR}/${header}\"\n")
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
