#include "app/VlWindow.h"

#include <juce_gui_basics/juce_gui_basics.h>

class VeltrinoApplication : public juce::JUCEApplication,
                            private juce::KeyListener
{
public:
    const juce::String getApplicationName() override     { return "Veltrino"; }
    const juce::String getApplicationVersion() override  { return "1.0.0"; }
    bool moreThanOneInstanceAllowed() override           { return true; }

    void initialise (const juce::String&) override
    {
        window = std::make_unique<VlWindow>();
        window->addKeyListener (this);
    }

    void shutdown() override
    {
        window = nullptr;
    }

    void systemRequestedQuit() override
    {
        quit();
    }

private:
    bool keyPressed (const juce::KeyPress& key, juce::Component*) override
    {
        if (key == juce::KeyPress ('q', juce::ModifierKeys::commandModifier, 0))
        {
            systemRequestedQuit();
            return true;
        }

        return false;
    }

    std::unique_ptr<VlWindow> window;
};

START_JUCE_APPLICATION (VeltrinoApplication)
