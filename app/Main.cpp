#include "app/VlWindow.h"
#include "common/CApplication.h"
#include "common/CLookAndFeel.h"
#include "common/CStMenuLock.h"

#include <VlPictures.h>

//==============================================================================
/** Veltrino until its own application object stands: the framework's start-up
    and shutdown around an empty main window.
*/
class VeltrinoApplication final : public CApplication
{
public:
    VeltrinoApplication() : CApplication (false) {}

    const juce::String getApplicationName() override     { return "Veltrino"; }
    const juce::String getApplicationVersion() override  { return "1.1"; }

    /** Ignored while a modal box or dialog is open. */
    void systemRequestedQuit() override
    {
        if (CStMenuLock::counter() == 0)
            quit();
    }

protected:
    juce::LookAndFeel* createLookAndFeel() override
    {
        lookAndFeel = std::make_unique<CLookAndFeel>();
        return lookAndFeel.get();
    }

    void showSplash (int milliseconds, bool clickToClose) override
    {
        const auto picture = clickToClose
                                 ? juce::ImageCache::getFromMemory (VlPictures::about_png, VlPictures::about_pngSize)
                                 : juce::ImageCache::getFromMemory (VlPictures::splash_png, VlPictures::splash_pngSize);

        // A splash screen deletes itself once its time is up.
        auto* splash = std::make_unique<juce::SplashScreen> (getApplicationName(), picture, false).release();
        splash->deleteAfterDelay (juce::RelativeTime::milliseconds (milliseconds), clickToClose);
        splashes.add (splash);
    }

    void createMainWindow (const juce::String&, PrefsReader&) override
    {
        mainWindow = std::make_unique<VlWindow>();
        commandManager->registerAllCommandsForTarget (this);
        mainWindow->addKeyListener (commandManager->getKeyMappings());
        mainWindow->setVisible (true);

        // Without a window manager nothing keeps the start picture on top of
        // the window that appeared after it: raising needs one, restacking not.
        // JUCE 7's X11 restack is inverted: a->toBehind (b) lowers b below a.
        for (auto& splash : splashes)
            if (splash != nullptr)
                splash->toBehind (mainWindow.get());
    }

    void appShutdown() override
    {
        mainWindow = nullptr;

        for (auto& splash : splashes)
            if (splash != nullptr)
                splash.deleteAndZero();

        lookAndFeel = nullptr;
    }

    void writePreferences (juce::XmlElement&) override {}
    void readPreferences (const juce::XmlElement&, PrefsReader&) override {}
    void openFile (const juce::String&) override {}

private:
    std::unique_ptr<CLookAndFeel> lookAndFeel;
    std::unique_ptr<VlWindow> mainWindow;
    juce::Array<juce::Component::SafePointer<juce::SplashScreen>> splashes;
};

START_JUCE_APPLICATION (VeltrinoApplication)
