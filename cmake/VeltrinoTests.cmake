# GoogleTest through CTest: every TEST runs in a process of its own, so
# singletons and the one-per-process JUCE application never leak between tests.
find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

# veltrino_add_tests(<target> SOURCES ... LIBRARIES ... [GUI])
# GUI suites carry the label "gui" and run under xvfb-run; the others need no display.
function(veltrino_add_tests target)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestMain.cpp)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock)
    if(ARG_GUI)
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS gui TIMEOUT 120)
    else()
        # No display at all: proves these layers build and run without a window.
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS headless TIMEOUT 120 ENVIRONMENT "DISPLAY=")
    endif()
endfunction()
