# One static library per module folder: corvane_<name> from <name>/*.cpp. DEPENDS lists the
# modules it may call, lowest last; they are its link line and, through
# scripts/check_layers.py, the only module folders its files may include. Everything includes
# from the source root ("gfx/renderer.h"), so the check script is what holds the layers.
# LIBS are the system libraries the module uses. Each module's objects and system libraries
# are also gathered (global properties CORVANE_OBJECTS, CORVANE_SYSTEM_LIBS) into libcorvane.
function(corvane_module name)
    cmake_parse_arguments(M "" "" "DEPENDS;LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(corvane_${name} STATIC ${sources})
    target_include_directories(corvane_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_features(corvane_${name} PUBLIC cxx_std_20)
    set(deps)
    foreach(d ${M_DEPENDS})
        list(APPEND deps corvane_${d})
    endforeach()
    target_link_libraries(corvane_${name} PUBLIC ${deps} ${M_LIBS})
    # Most of a runtime file's compile time is parsing the standard headers: the first module
    # (core) precompiles the common ones, every later module reuses that header. Only standard
    # headers: a module's own includes stay as checkable as they were.
    if(NOT TARGET corvane_module_pch_owner)
        target_precompile_headers(corvane_${name} PRIVATE
            <algorithm> <array> <chrono> <cmath> <cstddef> <cstdint> <cstdio> <cstdlib>
            <cstring> <functional> <memory> <mutex> <new> <string> <string_view> <vector>)
        add_library(corvane_module_pch_owner ALIAS corvane_${name})
    else()
        target_precompile_headers(corvane_${name} REUSE_FROM corvane_module_pch_owner)
    endif()
    set_property(GLOBAL APPEND PROPERTY CORVANE_OBJECTS $<TARGET_OBJECTS:corvane_${name}>)
    set_property(GLOBAL APPEND PROPERTY CORVANE_SYSTEM_LIBS ${M_LIBS})
endfunction()
