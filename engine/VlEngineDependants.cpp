#include "engine/VlEngine.h"

#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "engine/VlTexts.h"

// Dependants and deletion: what refers to a patch or a control, and deleting them
// with everything that depends on them once the user agrees.
namespace
{
    template <typename Item>
    void addOnce (std::vector<Item*>& items, Item* item)
    {
        if (std::find (items.begin(), items.end(), item) == items.end())
            items.push_back (item);
    }
}

//==============================================================================
int VlEngine::patchIndexOfControl (const VlControlCfg& control) const
{
    for (size_t i = 0; i < patches.size(); ++i)
        if (patches[i]->getIdOfControl (&control) >= 0)
            return (int) i;

    return -1;
}

bool VlEngine::collectLinkableControls (int controlId, ControlsByPatch& result, const VlPatch* leaveOut) const
{
    result.clear();
    const auto footswitches = isFootswitchId (controlId);

    for (size_t i = 0; i < patches.size(); ++i)
    {
        if (patches[i].get() == leaveOut)
            continue;

        std::vector<int> ids;

        for (const auto& [id, control] : patches[i]->getControls())
            if ((footswitches ? isFootswitchId (id) : isPedalId (id)) && ! control->isLinked())
                ids.push_back (id);

        if (! ids.empty())
            result[(juce::uint16) i] = std::move (ids);
    }

    return ! result.empty();
}

bool VlEngine::collectPatchPedals (ControlsByPatch& result) const
{
    result.clear();

    for (size_t i = 0; i < patches.size(); ++i)
    {
        std::vector<int> ids;

        for (auto id : { FirstPedalId, SecondPedalId })
            if (patches[i]->getControl (id) != nullptr)
                ids.push_back (id);

        if (! ids.empty())
            result[(juce::uint16) i] = std::move (ids);
    }

    return ! result.empty();
}

VlControlCfg* VlEngine::controlOfState (const VlControlState& state) const
{
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked() && control->indexOfState (&state) >= 0)
                return control.get();

    return nullptr;
}

VlControlState* VlEngine::stateOfAction (const VlAction& action) const
{
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked())
                for (const auto& state : control->getStates())
                    for (const auto& held : state->getActions())
                        if (held.get() == &action)
                            return state.get();

    return nullptr;
}

//==============================================================================
void VlEngine::collectControlsLinkedToPatch (const VlPatch& patch, ControlRefs& found) const
{
    const auto index = indexOfPatch (&patch);

    if (index < 0)
        return;

    for (const auto& held : patches)
        for (const auto& [id, control] : held->getControls())
            if (control->isLinked() && control->getLinkPatchIndex() == index)
                addOnce (found, control.get());
}

void VlEngine::collectControlsLinkedToControl (const VlControlCfg& control, ControlRefs& found) const
{
    const auto index = patchIndexOfControl (control);

    if (index < 0)
        return;

    const auto id = patches[(size_t) index]->getIdOfControl (&control);

    for (const auto& held : patches)
        for (const auto& [heldId, link] : held->getControls())
            if (link->isLinked() && link->getLinkPatchIndex() == index && link->getLinkControlId() == id)
                addOnce (found, link.get());
}

void VlEngine::collectActionsReferringToPatch (const VlPatch& patch, ActionRefs& found) const
{
    for (const auto& held : patches)
        if (held.get() != &patch)
            for (const auto& [id, control] : held->getControls())
                if (! control->isLinked())
                    for (const auto& state : control->getStates())
                        for (const auto& action : state->getActions())
                            if (action->refersToPatch (patch))
                                addOnce (found, action.get());
}

void VlEngine::collectActionsReferringToControl (const VlControlCfg& control, ActionRefs& found,
                                                 const VlPatch* leaveOut) const
{
    auto* owner = getPatch ((juce::uint16) patchIndexOfControl (control));

    if (owner == nullptr)
        return;

    for (const auto& held : patches)
        if (held.get() != leaveOut)
            for (const auto& [id, plain] : held->getControls())
                if (! plain->isLinked())
                    for (const auto& state : plain->getStates())
                        for (const auto& action : state->getActions())
                            if (action->refersToPatch (*owner) && action->refersToControl (control))
                                addOnce (found, action.get());
}

void VlEngine::collectDependants (const VlPatch* goingPatch, const std::vector<VlControlCfg*>& goingControls,
                                  ControlRefs& links, ActionRefs& actions) const
{
    if (goingPatch != nullptr)
    {
        collectControlsLinkedToPatch (*goingPatch, links);
        collectActionsReferringToPatch (*goingPatch, actions);
    }

    for (auto* control : goingControls)
        collectControlsLinkedToControl (*control, links);

    // A link to a link that goes would be left without target: it goes too, however deep
    // the chain (only a file links more than one step deep).
    for (size_t i = 0; i < links.size(); ++i)
        collectControlsLinkedToControl (*links[i], links);

    // The mutes of a pedal that goes, or of a link that goes with it, wherever they are:
    // in the pedal's own patch too, which the patch's own deletion takes with it.
    for (auto* control : goingControls)
        collectActionsReferringToControl (*control, actions, goingPatch);

    for (auto* link : links)
        collectActionsReferringToControl (*link, actions, goingPatch);

    // Those of a control that goes go with it, unlisted.
    std::set<const VlAction*> goingWithTheirControl;

    for (auto* control : goingControls)
        for (const auto& state : control->getStates())
            for (const auto& action : state->getActions())
                goingWithTheirControl.insert (action.get());

    actions.erase (std::remove_if (actions.begin(), actions.end(),
                                   [&] (const VlAction* action) { return goingWithTheirControl.count (action) != 0; }),
                   actions.end());
}

juce::String VlEngine::describeDependants (const ControlRefs& controls, const ActionRefs& actions) const
{
    juce::String text;

    for (auto* control : controls)
    {
        const auto patchIndex = patchIndexOfControl (*control);
        juce::String controlText, patchText;

        if (auto* patch = getPatch ((juce::uint16) patchIndex))
            VlTexts::getControlRowText (*patch, patch->indexOfControl (control), controlText);

        VlTexts::getPatchText (*this, patchIndex, patchText);
        text << "Control <" << controlText << "> of patch <" << patchText << ">;\n\n";
    }

    for (auto* action : actions)
    {
        juce::String stateText, controlText, patchText;
        auto* state = stateOfAction (*action);
        auto* control = state != nullptr ? controlOfState (*state) : nullptr;

        if (control != nullptr)
        {
            const auto patchIndex = patchIndexOfControl (*control);
            VlTexts::getStateText (*control, control->indexOfState (state), stateText);

            if (auto* patch = getPatch ((juce::uint16) patchIndex))
                VlTexts::getControlRowText (*patch, patch->indexOfControl (control), controlText);

            VlTexts::getPatchText (*this, patchIndex, patchText);
        }

        text << "Action <" << action->getTypeName() << "> of state <" << stateText << "> of control <" << controlText
             << "> of patch <" << patchText << ">;\n\n";
    }

    return text;
}

bool VlEngine::confirmDeletion (const juce::String& title, const juce::String& question, const ControlRefs& controls,
                                const ActionRefs& actions)
{
    const auto dependants = describeDependants (controls, actions);
    const CStMenuLock menuLock;

    if (dependants.isEmpty())
        return CPrompts::get().askOkCancel (CPrompts::Icon::question, title, question, "OK", "Cancel");

    return CPrompts::get().askOkCancelWithDetails (CPrompts::Icon::question, title, question,
                                                   "The following definitions will be deleted too:\n\n" + dependants,
                                                   "OK", "Cancel");
}

void VlEngine::deleteWithDependants (const std::set<const VlPatch*>& goingPatches,
                                     std::set<const VlControlCfg*> goingControls, const ControlRefs& dependantControls,
                                     const ActionRefs& dependantActions)
{
    // Where every dependant sits, found while everything still exists.
    std::vector<std::pair<VlControlState*, const VlAction*>> actionPlaces;
    std::vector<std::pair<VlPatch*, const VlControlCfg*>> controlPlaces;

    for (auto* action : dependantActions)
        if (auto* state = stateOfAction (*action))
            actionPlaces.emplace_back (state, action);

    for (auto* control : dependantControls)
    {
        goingControls.insert (control);

        if (auto* patch = getPatch ((juce::uint16) patchIndexOfControl (*control)))
            controlPlaces.emplace_back (patch, control);
    }

    for (auto* patch : goingPatches)
        for (const auto& [id, control] : patch->getControls())
            goingControls.insert (control.get());

    // Nothing that stays may point at what goes, collected or not.
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            control->forgetTargets (goingPatches, goingControls);

    for (const auto& [state, action] : actionPlaces)
        state->deleteAction (action);

    for (const auto& [patch, control] : controlPlaces)
        patch->removeControl (control);
}

bool VlEngine::deleteControls (VlControlCfg* control)
{
    auto* patch = getPatch (currentPatch);

    if (patch == nullptr || (control != nullptr && patch->getIdOfControl (control) < 0))
        return false;

    std::vector<VlControlCfg*> going;

    if (control != nullptr)
        going.push_back (control);
    else
        for (const auto& [id, held] : patch->getControls())
            going.push_back (held.get());

    ControlRefs links;
    ActionRefs actions;
    collectDependants (nullptr, going, links, actions);

    if (! confirmDeletion ("Deleting controls...",
                           control != nullptr ? "Do you really want to delete this control?"
                                              : "Do you really want to delete all controls?",
                           links, actions))
        return false;

    deleteWithDependants ({}, { going.begin(), going.end() }, links, actions);

    if (control != nullptr)
        patch->removeControl (control);
    else
        patch->deleteAllControls();

    refreshBoard();
    return true;
}

bool VlEngine::makeLink (VlControlCfg& control)
{
    ActionRefs going;

    for (const auto& state : control.getStates())
        for (const auto& action : state->getActions())
            going.push_back (action.get());

    // Empty states take nothing with them: no question.
    if (! going.empty()
        && ! confirmDeletion ("Making a link...",
                              "Do you really want to make this control a link? Its states are deleted.", {}, going))
        return false;

    control.setLinked (true);
    return true;
}

bool VlEngine::deletePatches (VlPatch* patch)
{
    const auto index = indexOfPatch (patch);

    if (patches.size() < 2 || index < 0)
        return false;

    ControlRefs links;
    ActionRefs actions;
    collectDependants (patch, {}, links, actions);

    if (! confirmDeletion ("Deleting patches...", "Do you really want to delete this patch?", links, actions))
        return false;

    deleteWithDependants ({ patch }, {}, links, actions);

    const auto wasCurrent = index == currentPatch;
    patches.erase (patches.begin() + index);

    if (wasCurrent)
    {
        goToPatch (0, false);
    }
    else
    {
        // The same patch stays current at its new position; its targets may have gone.
        if (currentPatch != NoIndex && index < currentPatch)
            --currentPatch;

        updateNavigation();
    }

    if (userInterface != nullptr)
        userInterface->refreshPatchList();

    refreshBoard();
    return true;
}
