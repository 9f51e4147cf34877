# One static library holds JUCE's module code. Every other target links it and
# inherits the same include paths and compile definitions: a definition that
# differed between two targets would link cleanly and break silently.
find_package(JUCE CONFIG REQUIRED)

add_library(veltrino_juce STATIC)
target_link_libraries(veltrino_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
        juce::juce_audio_basics
        juce::juce_audio_devices
    PUBLIC
        juce::juce_recommended_config_flags
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

target_compile_definitions(veltrino_juce
    PUBLIC
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0)

# Pass the modules' own include paths and definitions on to everything that links us.
target_compile_definitions(veltrino_juce INTERFACE
    $<TARGET_PROPERTY:veltrino_juce,COMPILE_DEFINITIONS>)
target_include_directories(veltrino_juce INTERFACE
    $<TARGET_PROPERTY:veltrino_juce,INCLUDE_DIRECTORIES>)
