# Sanitizer builds, with clang: VELTRINO_SANITIZER=address (AddressSanitizer, its leak checker and
# UndefinedBehaviorSanitizer) or thread (ThreadSanitizer). The flags reach every target of the build,
# JUCE's module code included: instrumented and plain code mixed in one binary hide faults or report
# false ones. An undefined-behaviour report stops the program; scripts/common.sh makes the others
# fail the run as well.
set(VELTRINO_SANITIZER "" CACHE STRING "Sanitizer build: empty, address or thread")

if(VELTRINO_SANITIZER STREQUAL "address")
    set(veltrino_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(VELTRINO_SANITIZER STREQUAL "thread")
    set(veltrino_sanitizer_flags -fsanitize=thread)
elseif(VELTRINO_SANITIZER)
    message(FATAL_ERROR "VELTRINO_SANITIZER must be empty, address or thread, not '${VELTRINO_SANITIZER}'")
endif()

# The fuzzers steer by coverage, so everything they run is instrumented for it, JUCE included;
# only the fuzzers themselves link libFuzzer (fuzz/CMakeLists.txt).
if(VELTRINO_BUILD_FUZZERS)
    list(APPEND veltrino_sanitizer_flags -fsanitize=fuzzer-no-link)
endif()

if(veltrino_sanitizer_flags)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "Sanitizer and fuzzer builds need clang: configure with "
                            "-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(${veltrino_sanitizer_flags} -fno-omit-frame-pointer)
    add_link_options(${veltrino_sanitizer_flags})
endif()
