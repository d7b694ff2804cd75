# What `cmake --install` puts under the prefix: libcorvane, corvane.h with every header it
# includes (under include/corvane/, so a game's own core/ never shadows ours), sbxpack and
# qmdconvert, the CMake package (find_package(Corvane) -> Corvane::corvane, the tools and
# corvane_add_media), corvane.pc for pkg-config, and share/corvane/ (docs, template, examples).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# corvane.h and the core headers it reaches; the public-header test compiles a game against
# exactly these.
set(CORVANE_PUBLIC_HEADERS
    core/int_convert.h core/math_ops.h core/rt_array.h core/rt_string.h core/system_types.h)
install(FILES ${PROJECT_SOURCE_DIR}/corvane.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
install(FILES ${CORVANE_PUBLIC_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane/core)

install(TARGETS corvane EXPORT CorvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The static library's debug information is most of its size (every object's copy of the
# standard library's inline code); a game's own debugging rarely steps into the runtime, so
# it is installed without, unless asked. `cmake --install --strip` leaves static libraries
# as they are, hence the step here.
option(CORVANE_INSTALL_DEBUG_INFO "Install libcorvane.a with its debug information" OFF)
if(NOT BUILD_SHARED_LIBS AND NOT CORVANE_INSTALL_DEBUG_INFO AND CMAKE_STRIP)
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:corvane>\"
        COMMAND_ERROR_IS_FATAL ANY)")
endif()
# The tools a game's build uses, exported as Corvane::sbxpack and Corvane::qmdconvert.
foreach(tool sbxpack qmdconvert)
    if(TARGET ${tool})
        install(TARGETS ${tool} EXPORT CorvaneTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        add_executable(Corvane::${tool} ALIAS ${tool})
    endif()
endforeach()

# share/corvane: what a game author reads and starts from. The docs; the template (copy it,
# it builds as it is); the examples' sources with their media and a CMakeLists.txt that
# builds them against this installation.
set(CORVANE_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/corvane)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/commands.md
              ${PROJECT_SOURCE_DIR}/docs/qmd.md ${PROJECT_SOURCE_DIR}/docs/architecture.md
        DESTINATION ${CORVANE_SHARE_DIR}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/template/ DESTINATION ${CORVANE_SHARE_DIR}/template)
file(GLOB CORVANE_EXAMPLE_SOURCES ${PROJECT_SOURCE_DIR}/examples/*.cpp)
install(FILES ${CORVANE_EXAMPLE_SOURCES} DESTINATION ${CORVANE_SHARE_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/examples/installed/CMakeLists.txt
        DESTINATION ${CORVANE_SHARE_DIR}/examples)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/media/ DESTINATION ${CORVANE_SHARE_DIR}/examples/media)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/archive/ DESTINATION ${CORVANE_SHARE_DIR}/examples/art)
# The show's pictures, font and music the examples borrow (the media archive example's in
# art/, packed at build time).
set(CORVANE_EXAMPLE_SHOW_MEDIA
    "Lucida Console 112x88.png" "Splash 480x240.png" "image 1.2.png" "image 2.2.png"
    "circle 2.png" "circle 3.png" "map.png" "music.mp3")
set(CORVANE_EXAMPLE_ART_MEDIA "image 1.2.png" "circle 3.png" "Splash 480x240.png")
foreach(m ${CORVANE_EXAMPLE_SHOW_MEDIA})
    install(FILES "${PROJECT_SOURCE_DIR}/media/${m}" DESTINATION ${CORVANE_SHARE_DIR}/examples/media)
endforeach()
foreach(m ${CORVANE_EXAMPLE_ART_MEDIA})
    install(FILES "${PROJECT_SOURCE_DIR}/media/${m}" DESTINATION ${CORVANE_SHARE_DIR}/examples/art)
endforeach()

set(CORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
install(EXPORT CorvaneTargets NAMESPACE Corvane:: DESTINATION ${CORVANE_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/CorvaneConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/CorvaneConfig.cmake
                              INSTALL_DESTINATION ${CORVANE_CMAKE_DIR})
# 0.x: a minor version may change the command set, so only the same minor version matches.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorvaneConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CorvaneConfig.cmake
              ${PROJECT_BINARY_DIR}/CorvaneConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/CorvaneMedia.cmake
        DESTINATION ${CORVANE_CMAKE_DIR})

# A static libcorvane needs its system libraries on every game's link line, so they are
# public requirements there; a shared one carries them itself. FFmpeg is none of them: it is
# opened at run time (platform/ffmpeg_library.cpp).
set(CORVANE_PC_MODULES "sdl2 gl libpng zlib lzo2")
if(BUILD_SHARED_LIBS)
    set(CORVANE_PC_REQUIRES "")
    set(CORVANE_PC_REQUIRES_PRIVATE "${CORVANE_PC_MODULES}")
    set(CORVANE_PC_LIBS_EXTRA "")
else()
    set(CORVANE_PC_REQUIRES "${CORVANE_PC_MODULES}")
    set(CORVANE_PC_REQUIRES_PRIVATE "")
    set(CORVANE_PC_LIBS_EXTRA "-pthread")
    foreach(l ${CMAKE_DL_LIBS})
        string(APPEND CORVANE_PC_LIBS_EXTRA " -l${l}")
    endforeach()
endif()
if(CORVANE_SANITIZE)
    string(APPEND CORVANE_PC_LIBS_EXTRA " -fsanitize=address,undefined")
endif()
# The prefix is found from the .pc file's own place, so `cmake --install --prefix P` works
# whatever prefix the build was configured with.
file(RELATIVE_PATH CORVANE_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
string(REGEX REPLACE "/$" "" CORVANE_PC_TO_PREFIX "${CORVANE_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/corvane.pc.in ${PROJECT_BINARY_DIR}/corvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/corvane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
