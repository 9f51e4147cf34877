#include "engine/VlEngine.h"

// The three colour sets (patches, controls, states) and recolouring the items of a colour.
namespace
{
    constexpr juce::uint32 defaultPatchColor = 0xffe3e3e3;
    constexpr juce::uint32 defaultItemColor = 0xffffffff;

    constexpr juce::uint32 patchPalette[] = { 0xffe3e3e3, 0xff7b68ee, 0xffee687b, 0xffeee8aa, 0xffffa500, 0xff1e90ff,
                                              0xfffffacd, 0xfffafad2, 0xff90ee90, 0xff778899, 0xff66cdaa, 0xff00fa9a };
    constexpr juce::uint32 controlPalette[] = { 0xffffffff, 0xff00ff00, 0xffffff00, 0xffffa500 };
    constexpr juce::uint32 statePalette[] = { 0xffffffff, 0xffff0000, 0xff00ff00, 0xff0000ff };
}

//==============================================================================
ColorSet* VlEngine::findColorSet (const ColorSet* set) noexcept
{
    for (auto* own : { &patchColors, &controlColors, &stateColors })
        if (own == set)
            return own;

    return nullptr;
}

void VlEngine::recolor (const ColorSet& set, juce::uint32 oldColor, juce::uint32 newColor, bool everyItem)
{
    // A link shows its target's colour, so that is the one compared; all are compared
    // before any changes, so that a link recolours alike before or after its target.
    std::vector<VlControlCfg*> controls;

    for (const auto& patch : patches)
    {
        if (&set == &patchColors)
        {
            if (everyItem || patch->getColor() == oldColor)
                patch->setColor (newColor);

            continue;
        }

        for (const auto& [id, control] : patch->getControls())
        {
            if (&set == &controlColors && (everyItem || control->getColor() == oldColor))
                controls.push_back (control.get());

            if (&set == &stateColors && ! control->isLinked())
                for (const auto& state : control->getStates())
                    if (everyItem || state->getColor() == oldColor)
                        state->setColor (newColor);
        }
    }

    for (auto* control : controls)
        control->setColor (newColor);

    showRecoloring();
}

void VlEngine::showRecoloring()
{
    // Items of any patch may be on show, whichever row changed the library: the
    // footswitches, the pedals, the patch list and the background, which in navigation
    // mode is the navigation patch's copy of the current patch's colour.
    if (auto* current = getPatch (currentPatch))
        navigationPatch.setColor (current->getColor());

    refreshBoard();

    if (userInterface != nullptr)
        userInterface->refreshPatchList();
}

void VlEngine::resetColors (const ColorSet* set)
{
    auto* own = findColorSet (set);

    if (own == nullptr)
        return;

    own->clear();

    if (own == &patchColors)
    {
        own->insert (std::begin (patchPalette), std::end (patchPalette));

        for (const auto& patch : patches)
            own->insert (patch->getColor());
    }
    else
    {
        if (own == &controlColors)
            own->insert (std::begin (controlPalette), std::end (controlPalette));
        else
            own->insert (std::begin (statePalette), std::end (statePalette));

        for (const auto& patch : patches)
            for (const auto& [id, control] : patch->getControls())
            {
                if (own == &controlColors)
                    own->insert (control->getColor());
                else if (! control->isLinked())
                    for (const auto& state : control->getStates())
                        own->insert (state->getColor());
            }
    }
}

juce::uint32 VlEngine::getDefaultColor (const ColorSet* set) const
{
    return set == &patchColors ? defaultPatchColor : defaultItemColor;
}

void VlEngine::addColor (const ColorSet* set, juce::uint32 color)
{
    if (auto* own = findColorSet (set))
        own->insert (color);
}

void VlEngine::replaceColor (const ColorSet* set, juce::uint32 oldColor, juce::uint32 newColor)
{
    if (auto* own = findColorSet (set))
        recolor (*own, oldColor, newColor, false);
}

void VlEngine::removeColor (const ColorSet* set, juce::uint32 color)
{
    auto* own = findColorSet (set);

    if (own == nullptr || color == getDefaultColor (set))
        return;

    own->erase (color);
    recolor (*own, color, getDefaultColor (set), false);
}

void VlEngine::removeAllColors (const ColorSet* set)
{
    auto* own = findColorSet (set);

    if (own == nullptr)
        return;

    own->clear();
    own->insert (getDefaultColor (set));
    recolor (*own, 0, getDefaultColor (set), true);
}
