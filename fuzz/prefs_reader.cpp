// Any bytes as the preferences file, read the way the application reads it at start-up: the
// framework's reading path, a product's own element, and the values that start-up asks for. A
// value that was read must come back unchanged once the framework's writer has saved it.

#include "fixtures/TemporaryHome.h"
#include "fixtures/TestApplication.h"
#include "fuzz/FileFuzzing.h"
#include "fuzz/Require.h"

namespace
{
    juce::String readDialogState (TestApplication& app, PrefsReader& prefs)
    {
        app.loadPreferences (prefs);
        prefs.section = "test_dlg";
        return prefs.getString ("state");
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    prepareFileFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static TemporaryHome home;
    static TestApplication app;

    const auto file = home.getPreferencesFile();
    file.getParentDirectory().createDirectory();
    require (file.replaceWithData (data, size));

    // The test application notes every hook it runs: forgotten after each input, so that memory
    // stays level from one input to the next and the leak check has nothing to look into.
    app.events.clear();

    PrefsReader prefs;
    const auto state = readDialogState (app, prefs);

    if (! prefs.isLoaded())
        return 0;

    prefs.section = "recent_files";
    juce::RecentlyOpenedFilesList recentFiles;
    recentFiles.restoreFromString (prefs.getString ({}));

    prefs.section = "tooltips";
    prefs.getBool ("visible");

    app.dialog.windowState = state;
    require (app.savePreferences());

    PrefsReader reread;
    require (readDialogState (app, reread) == state);

    return 0;
}
