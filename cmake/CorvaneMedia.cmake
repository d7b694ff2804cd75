# corvane_add_media(<target> <folder> [PACK <archive.sbx>])
#
# A Corvane game changes into its executable's folder at start-up and reads its media from
# there, so the media must lie beside the built program. This puts <folder> (relative to the
# calling CMakeLists.txt) beside <target>'s executable whenever one of its files changes:
#   - as a folder of the same name: a game reads "media/ball.png";
#   - with PACK, packed by sbxpack into one archive of that name: the game calls
#     ShoeboxSet("<archive.sbx>") and reads its files by their base names.
# Files removed from <folder> stay beside the program until the build folder is cleaned.
function(corvane_add_media target folder)
    cmake_parse_arguments(M "" "PACK" "" ${ARGN})
    if(M_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "corvane_add_media: unexpected arguments ${M_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT TARGET ${target})
        message(FATAL_ERROR "corvane_add_media: ${target} is not a target")
    endif()
    get_filename_component(src "${folder}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    if(NOT IS_DIRECTORY "${src}")
        message(FATAL_ERROR "corvane_add_media: ${src} is not a folder")
    endif()
    file(GLOB_RECURSE files CONFIGURE_DEPENDS "${src}/*")
    get_filename_component(name "${src}" NAME)
    set(dest "$<TARGET_FILE_DIR:${target}>")
    # The output is a stamp: the folder beside the program is known only at generation.
    set(stamp "${CMAKE_CURRENT_BINARY_DIR}/corvane_media/${target}_${name}.stamp")
    if(M_PACK)
        if(NOT TARGET Corvane::sbxpack)
            message(FATAL_ERROR "corvane_add_media: PACK needs Corvane::sbxpack")
        endif()
        if(NOT files)
            message(FATAL_ERROR "corvane_add_media: ${src} is empty, nothing to pack")
        endif()
        add_custom_command(OUTPUT "${stamp}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${dest}"
            COMMAND Corvane::sbxpack pack "${src}" -o "${dest}/${M_PACK}"
            COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
            DEPENDS ${files} Corvane::sbxpack
            COMMENT "Packing ${name} into ${M_PACK} for ${target}"
            VERBATIM)
    else()
        add_custom_command(OUTPUT "${stamp}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${dest}/${name}"
            COMMAND ${CMAKE_COMMAND} -E copy_directory "${src}" "${dest}/${name}"
            COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
            DEPENDS ${files}
            COMMENT "Copying ${name} beside ${target}"
            VERBATIM)
    endif()
    add_custom_target(${target}_media_${name} DEPENDS "${stamp}")
    add_dependencies(${target} ${target}_media_${name})
endfunction()
