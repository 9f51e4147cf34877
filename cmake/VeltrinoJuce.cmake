# JUCE's module code, compiled once per configuration into two static libraries:
#   veltrino_juce      the modules that need no display (core, events, data structures, audio
#                      basics and devices): what common, engine and the build-time tools use;
#   veltrino_juce_gui  the graphics and user interface modules, over veltrino_juce: what the GUI
#                      half of common, resources' pictures and app use.
# Every target links one of them and inherits the same include paths and compile definitions: a
# definition that differed between two targets would link cleanly and break silently. The two
# differ only in the JUCE_MODULE_AVAILABLE_* flags of the three GUI modules, which tell a module
# which others it may include: on Linux, with no web browser, they change no declaration of the
# non-GUI modules, so both halves see the same classes.
find_package(JUCE CONFIG REQUIRED)

set(VELTRINO_JUCE_MODULES juce_core juce_events juce_data_structures juce_audio_basics juce_audio_devices)
set(VELTRINO_JUCE_GUI_MODULES juce_graphics juce_gui_basics juce_gui_extra)

add_library(veltrino_juce STATIC)
list(TRANSFORM VELTRINO_JUCE_MODULES PREPEND juce:: OUTPUT_VARIABLE juce_modules)
target_link_libraries(veltrino_juce
    PRIVATE
        ${juce_modules}
    PUBLIC
        juce::juce_recommended_config_flags)

target_compile_definitions(veltrino_juce
    PUBLIC
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0)

# A failed jassert goes to juce::Logger, where the test programs catch it and fail the test that
# raised it. Debug builds assert anyway (they would only print); the others then assert too. The
# Release product leaves assertions out, as JUCE does.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    set(log_assertions_by_default OFF)
else()
    set(log_assertions_by_default ON)
endif()
option(VELTRINO_LOG_ASSERTIONS "Compile JUCE's assertions in and hand their failures to juce::Logger"
    ${log_assertions_by_default})
if(VELTRINO_LOG_ASSERTIONS)
    target_compile_definitions(veltrino_juce PUBLIC JUCE_LOG_ASSERTIONS=1)
endif()

# Pass the modules' own definitions on to everything that links us.
target_compile_definitions(veltrino_juce INTERFACE
    $<TARGET_PROPERTY:veltrino_juce,COMPILE_DEFINITIONS>)

# JUCE keeps all its modules in one folder. What links veltrino_juce alone sees a folder that holds
# the non-GUI modules only, so that a GUI include in common or engine fails to compile.
get_target_property(juce_modules_folder juce_core INTERFACE_JUCE_MODULE_PATH)
set(headless_modules_folder ${CMAKE_BINARY_DIR}/juce_headless_modules)
file(MAKE_DIRECTORY ${headless_modules_folder})
foreach(module IN LISTS VELTRINO_JUCE_MODULES)
    file(CREATE_LINK ${juce_modules_folder}/${module} ${headless_modules_folder}/${module} SYMBOLIC)
endforeach()
target_include_directories(veltrino_juce INTERFACE ${headless_modules_folder})

# The GUI modules' sources only: linking their JUCE targets would compile the modules they
# depend on a second time, into this library.
add_library(veltrino_juce_gui STATIC)
foreach(module IN LISTS VELTRINO_JUCE_GUI_MODULES)
    get_target_property(sources ${module} INTERFACE_SOURCES)
    target_sources(veltrino_juce_gui PRIVATE ${sources})
    target_compile_definitions(veltrino_juce_gui PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()
target_include_directories(veltrino_juce_gui PUBLIC ${juce_modules_folder})
target_link_libraries(veltrino_juce_gui
    PUBLIC
        veltrino_juce
    PRIVATE
        juce::pkgconfig_juce_graphics_LINUX_DEPS
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

# Every translation unit of ours starts with JUCE's module headers, which cost most of its
# compile time: each target that links a JUCE library parses them once, into a precompiled
# header of its own (clang refuses one made with other definitions). What links the non-GUI
# half alone gets the non-GUI headers only, so that a window include in common or engine
# still fails to compile.
target_precompile_headers(veltrino_juce INTERFACE
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_core/juce_core.h$<ANGLE-R>>"
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_events/juce_events.h$<ANGLE-R>>"
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_data_structures/juce_data_structures.h$<ANGLE-R>>"
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_audio_basics/juce_audio_basics.h$<ANGLE-R>>"
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_audio_devices/juce_audio_devices.h$<ANGLE-R>>")
target_precompile_headers(veltrino_juce_gui INTERFACE
    "$<$<COMPILE_LANGUAGE:CXX>:<juce_gui_extra/juce_gui_extra.h$<ANGLE-R>>")
# JUCE's own module sources take none: each is compiled as JUCE wrote it.
set_target_properties(veltrino_juce_gui PROPERTIES DISABLE_PRECOMPILE_HEADERS ON)
