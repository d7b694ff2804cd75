# How the suite runs side by side under ctest -j (included by tests/CMakeLists.txt).

# Every gl and e2e test runs under an Xvfb of its own (scripts/with_display.sh, which CTest
# puts in front of the test's command), so no two share a display or the keyboard focus.
function(corvane_test_display target label)
    if(NOT label STREQUAL "unit")
        set_target_properties(${target} PROPERTIES
            CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/with_display.sh)
    endif()
endfunction()

# The show runs once for the checks that read its frames and trace: ShowRecording records it
# into build/whole_show and the checks require it. The discovered tests exist only once the
# test programs have listed them, so their properties are set from a file ctest reads after
# the lists (deferred to the end of this folder, after gtest_discover_tests added its own).
set(whole_show_checks
    ShowPicturesE2E.TickerTypesOneCharacterPerFrameHoldsAndWipesFromTheLeft
    ShowPicturesE2E.CellsAreRevealedInReadingOrderEachWithAFadeOf67Frames
    ShowPicturesE2E.BreathingRingIsThreeCirclesOfGrey250And0And125
    ShowPicturesE2E.TheQuakeMovesEveryCellByTheSameOffset
    ShowPicturesE2E.BannerLinesStandCentredOnTheScreen
    ShowPicturesE2E.TheMapStandsCentredOnTheWindowAt640x480AndAt800x600
    ShowTimelineE2E.EveryStageLandsOnItsFrameAndTheShowEndsItself
    ShowTimelineE2E.TheArchiveAloneGivesTheSamePictures)
list(JOIN whole_show_checks " " whole_show_checks)
set(whole_show_file ${CMAKE_CURRENT_BINARY_DIR}/whole_show_fixture.cmake)
file(WRITE ${whole_show_file}
    "set_tests_properties(ShowRecording.TheWholeShowOnceWithEveryFrameTheChecksRead\n"
    "    PROPERTIES FIXTURES_SETUP whole_show)\n"
    "set_tests_properties(${whole_show_checks} PROPERTIES FIXTURES_REQUIRED whole_show)\n")
cmake_language(DEFER CALL set_property DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${whole_show_file})

# A test program whose one test needs a tool that is never there: SkipWhenMissing's test runs
# it with and without CI=true.
add_executable(skip_probe support/skip_probe.cpp $<TARGET_OBJECTS:corvane_test_main>)
target_link_libraries(skip_probe PRIVATE corvane_test_main corvane)
set_target_properties(skip_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/programs)
