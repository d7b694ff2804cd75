# What `cmake --install` puts under the prefix: libcorvane, corvane.h with every header it
# includes (under include/corvane/, so a game's own core/ never shadows ours), sbxpack, the
# CMake package (find_package(Corvane) -> Corvane::corvane) and corvane.pc for pkg-config.
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
if(TARGET sbxpack)
    install(TARGETS sbxpack RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

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
