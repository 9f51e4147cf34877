#include "engine/VlEngine.h"

#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "engine/VlXmlVocabulary.h"
#include "engine/VlaGoTo.h"

// Navigation: the functions on the footswitches, their symbols, the visit history and
// the targets each function leads to from the current patch.
namespace
{
    // Older visits are dropped beyond this many; positions stay well inside 16 bits.
    constexpr size_t maxHistory = 1000;
}

//==============================================================================
void VlEngine::setNavigationFunction (int function, int footswitch, bool ask)
{
    // An entry below 1 comes only from a file and is kept to be written back; it is
    // no function: it shows no symbol and takes no footswitch from a real one.
    if (function < 1)
    {
        navFunctions[function] = footswitch;
        return;
    }

    const auto userWantsRearranging = [] {
        const CStMenuLock menuLock;
        return CPrompts::get().askOkCancel (CPrompts::Icon::question, "Rearrangement of the foot switches...",
                                            "Do you want conflicting foot switches to be automatically rearranged?",
                                            "yes", "no");
    };

    // Asked before anything changes: the board plays on while the question is open, and
    // the old on/off footswitch must go on switching navigation, never play the patch's
    // own control under it.
    const auto rearrange = function == NavOnOff && ask && isFootswitchId (footswitch) && userWantsRearranging();

    // From now on that footswitch switches navigation and its controls may move: the
    // note its press started stops first.
    if (function == NavOnOff)
        releaseHeldFootswitch (footswitch);

    if (const auto entry = navFunctions.find (function); entry != navFunctions.end())
    {
        navigationPatch.removeControl (navigationPatch.getControl (entry->second));
        navFunctions.erase (entry);
    }

    // "None" (-1) is taken from its function like any footswitch: one function at most holds it.
    if (const auto previous = getFunctionOfFootswitch (footswitch); previous != 0)
    {
        navigationPatch.removeControl (navigationPatch.getControl (footswitch));
        navFunctions.erase (previous);
    }

    // Only a footswitch can carry a symbol; a stray number from a file is kept but shows nothing.
    if (isFootswitchId (footswitch))
    {
        auto symbol = std::make_unique<VlControlCfg>();
        symbol->setColor (navigationColor);
        symbol->setLabel (VlNames::navigationSymbol (function));

        if (rearrange)
        {
            for (const auto& patch : patches)
                patch->rearrange (footswitch);
        }

        navigationPatch.setControl (footswitch, std::move (symbol));
    }

    navFunctions[function] = footswitch;

    // Without an on/off footswitch nothing could lead the board out of navigation mode.
    if (getMode() == ModeNavigation && ! isFootswitchId (getFootswitchOfFunction (NavOnOff)))
        leaveNavigation();
}

void VlEngine::clearNavigation()
{
    navigationPatch.deleteAllControls();
    navFunctions.clear();
}

int VlEngine::getFunctionOfFootswitch (int footswitch) const
{
    // Entries below 1 come only from a file: they must not hide the real function.
    for (const auto& [function, assigned] : navFunctions)
        if (function >= 1 && assigned == footswitch)
            return function;

    return 0;
}

void VlEngine::setNavigationColor (juce::uint32 color)
{
    navigationColor = color;

    for (const auto& [id, control] : navigationPatch.getControls())
        control->setColor (color);
}

VlControlCfg* VlEngine::getDisplayedControl (int controlId)
{
    switch (getMode())
    {
        case ModePlay:
        case ModeEditing:
        {
            const auto onOff = getFootswitchOfFunction (NavOnOff);

            if (controlId == onOff && isFootswitchId (onOff))
                return navigationPatch.getControl (controlId);

            auto* patch = getPatch (currentPatch);
            return patch != nullptr ? patch->getControl (controlId) : nullptr;
        }

        case ModeNavigation:
        {
            const juce::uint16 targets[] = { goUpPatch, prevVisited, nextVisited, prevInList, nextInList };
            const auto function = getFunctionOfFootswitch (controlId);

            if (function >= NavGoUp && function <= NavNext && targets[function - NavGoUp] == NoIndex)
                return nullptr;

            return isFootswitchId (controlId) ? navigationPatch.getControl (controlId) : nullptr;
        }

        case ModeMidiSetup:
        case ModeMidiLearn: return learnPatch.getControl (controlId);

        default: return nullptr;
    }
}

void VlEngine::updateNavigation()
{
    auto* current = getPatch (currentPatch);
    goUpPatch = prevInList = nextInList = NoIndex;

    if (current != nullptr)
    {
        navigationPatch.setColor (current->getColor());

        // Of several candidates, the most recently visited one: "go up" leads back
        // where the player came from.
        std::vector<juce::uint16> candidates;

        if (findHigherRankPatches (currentPatch, current->getLevel(), candidates))
        {
            goUpPatch = candidates.front();

            const auto visited =
                std::find_first_of (history.rbegin(), history.rend(), candidates.begin(), candidates.end());
            if (visited != history.rend())
                goUpPatch = *visited;
        }

        if (currentPatch > 0)
            prevInList = (juce::uint16) (currentPatch - 1);

        if (currentPatch + 1 < (int) patches.size())
            nextInList = (juce::uint16) (currentPatch + 1);
    }

    prevVisited = findVisit (historyPos - 1, -1);
    nextVisited = findVisit (historyPos + 1, 1);
}

juce::uint16 VlEngine::findVisit (int from, int step) const
{
    // Entries that no longer name a patch (patches were deleted) are stepped over.
    for (auto i = from; i >= 0 && i < (int) history.size(); i += step)
        if (history[(size_t) i] < patches.size())
            return (juce::uint16) i;

    return NoIndex;
}

bool VlEngine::findHigherRankPatches (juce::uint16 target, juce::uint8 level, std::vector<juce::uint16>& found) const
{
    found.clear();
    auto* targetPatch = getPatch (target);

    if (targetPatch == nullptr)
        return false;

    int greatest = 0;

    for (size_t i = 0; i < patches.size(); ++i)
    {
        const auto& patch = *patches[i];

        if (patch.getLevel() >= level)
            continue;

        for (const auto& [id, control] : patch.getControls())
        {
            if (control->isLinked())
                continue;

            for (const auto& state : control->getStates())
            {
                for (const auto& action : state->getActions())
                {
                    if (dynamic_cast<const VlaGoTo*> (action.get()) == nullptr
                        || ! action->refersToPatch (*targetPatch))
                        continue;

                    if (patch.getLevel() < greatest)
                        continue;

                    if (patch.getLevel() > greatest)
                    {
                        found.clear();
                        greatest = patch.getLevel();
                    }

                    found.push_back ((juce::uint16) i);
                }
            }
        }
    }

    return ! found.empty();
}

void VlEngine::recordVisit (juce::uint16 index)
{
    history.resize ((size_t) (historyPos + 1));
    history.push_back (index);
    ++historyPos;

    if (history.size() > maxHistory)
    {
        history.erase (history.begin());
        --historyPos;
    }
}

void VlEngine::leaveNavigation()
{
    goToPatch (currentPatch, false);

    // Back to play mode even when no patch could be selected.
    if (getMode() != ModePlay)
    {
        setMode (ModePlay);
        refreshBoard();
    }
}

void VlEngine::runNavigationFunction (int footswitch, bool pressed)
{
    const auto function = getFunctionOfFootswitch (footswitch);

    if (function == NavOnOff)
    {
        if (pressed)
            leaveNavigation();

        return;
    }

    if (pressed)
        return;

    // A target is checked against the list it names before it is followed.
    const auto isPatch = [this] (juce::uint16 index) { return index < patches.size(); };

    switch (function)
    {
        case NavGoUp:
            if (isPatch (goUpPatch))
                goToPatch (goUpPatch, true);
            break;

        case NavBackward:
        case NavForward:
        {
            const auto visit = function == NavBackward ? prevVisited : nextVisited;

            if (visit < history.size() && isPatch (history[visit]))
            {
                historyPos = visit;
                goToPatch (history[visit], false);
            }
            break;
        }

        case NavPrevious:
            if (isPatch (prevInList))
                goToPatch (prevInList, true);
            break;

        case NavNext:
            if (isPatch (nextInList))
                goToPatch (nextInList, true);
            break;

        default: break;
    }
}
