# GoogleTest through CTest: every TEST runs in a process of its own, so
# singletons and the one-per-process JUCE application never leak between tests.
find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

# Builds every runner that holds tests labelled "threads": the thread-sanitizer build needs only these.
add_custom_target(thread_tests)

# Builds every runner labelled "gui": the address-sanitizer build runs these too.
add_custom_target(gui_tests)

# veltrino_add_tests(<target> SOURCES ... LIBRARIES ... [GUI] [THREADS <suite>...])
# GUI suites carry the label "gui" and run under xvfb-run; the others need no display and carry
# the label "headless", or "threads" for the suites named after THREADS: those run MIDI or other
# threads, and the thread-sanitizer build runs them. (One label each: gtest_discover_tests
# cannot pass a list of labels through.)
# JUCE takes an empty DISPLAY for :0, which may be an end-to-end scenario's X server, gone while
# the test still holds it (Xlib then ends the process): no server has this name.
set(VELTRINO_NO_DISPLAY "DISPLAY=:none")

function(veltrino_add_tests target)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBRARIES;THREADS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestMain.cpp)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock)
    if(ARG_GUI)
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS gui TIMEOUT 120)
        add_dependencies(gui_tests ${target})
        return()
    endif()

    # No display at all: proves these layers build and run without a window.
    set(filter "*")
    if(ARG_THREADS)
        list(TRANSFORM ARG_THREADS APPEND ".*")
        list(JOIN ARG_THREADS ":" threads)
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER "${threads}"
            PROPERTIES LABELS threads TIMEOUT 120 ENVIRONMENT "${VELTRINO_NO_DISPLAY}")
        add_dependencies(thread_tests ${target})
        set(filter "-${threads}")
    endif()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER "${filter}"
        PROPERTIES LABELS headless TIMEOUT 120 ENVIRONMENT "${VELTRINO_NO_DISPLAY}")
endfunction()
