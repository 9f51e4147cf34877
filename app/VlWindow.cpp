#include "app/VlWindow.h"

VlWindow::VlWindow()
    : juce::DocumentWindow ("Veltrino", juce::Colours::lightgrey, juce::DocumentWindow::allButtons)
{
    setUsingNativeTitleBar (true);
    setResizable (true, false);
    centreWithSize (800, 500);
}

void VlWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
