#include "engine/VlControlCfg.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlPatch.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    // Links made in the editor are one step deep; only a crafted file makes a longer
    // chain, and one this long is taken for a cycle.
    constexpr int maxLinkSteps = 1000;

    VlEngine* engine() noexcept
    {
        return VlEngine::getInstance (false);
    }
}

VlControlCfg::VlControlCfg() = default;

VlControlCfg::VlControlCfg (const VlControlCfg& other)
{
    *this = other;
}

VlControlCfg& VlControlCfg::operator= (const VlControlCfg& other)
{
    if (this == &other)
        return *this;

    states.clear();
    label = other.label;
    target = other.target;
    color = other.color;
    currentState = other.currentState;
    initState = other.initState;
    initValue = other.initValue;
    linked = other.linked;
    linkPatch = other.linkPatch;
    linkControl = other.linkControl;
    pendingLinkPatch = other.pendingLinkPatch;
    pendingLinkControl = other.pendingLinkControl;
    currentValue = 0;
    muted = false;

    for (const auto& state : other.states)
        states.push_back (std::make_unique<VlControlState> (*state));

    return *this;
}

VlControlCfg::~VlControlCfg() = default;

//==============================================================================
const VlControlCfg& VlControlCfg::getEnd() const noexcept
{
    const auto* control = this;

    for (int steps = 0; control->linked && control->linkControl != nullptr; ++steps)
    {
        if (steps == maxLinkSteps)
            return *this;

        control = control->linkControl;
    }

    return *control;
}

VlControlCfg& VlControlCfg::getEnd() noexcept
{
    return const_cast<VlControlCfg&> (std::as_const (*this).getEnd());
}

const std::vector<std::unique_ptr<VlControlState>>& VlControlCfg::getPlayedStates() const noexcept
{
    // The end of a chain is a link only when it has no target or the chain is a cycle:
    // then nothing runs, whatever states it may hold.
    static const std::vector<std::unique_ptr<VlControlState>> none;
    return linked ? none : states;
}

const juce::String& VlControlCfg::getLabel() const noexcept
{
    return getEnd().label;
}
const juce::String& VlControlCfg::getTarget() const noexcept
{
    return getEnd().target;
}
juce::uint32 VlControlCfg::getColor() const noexcept
{
    return getEnd().color;
}
bool VlControlCfg::isMuted() const noexcept
{
    return getEnd().muted;
}
juce::uint8 VlControlCfg::getCurrentValue() const noexcept
{
    return getEnd().currentValue;
}
int VlControlCfg::getStateCount() const noexcept
{
    return (int) getEnd().getPlayedStates().size();
}
juce::uint8 VlControlCfg::getCurrentStateIndex() const noexcept
{
    return getEnd().currentState;
}

VlControlState* VlControlCfg::getState (int index) const noexcept
{
    const auto& played = getEnd().getPlayedStates();
    return index >= 0 && index < (int) played.size() ? played[(size_t) index].get() : nullptr;
}

VlControlState* VlControlCfg::getCurrentState() const noexcept
{
    return getState (getEnd().currentState);
}

void VlControlCfg::setCurrentState (juce::uint8 index) noexcept
{
    auto& end = getEnd();

    if (index < end.getPlayedStates().size())
        end.currentState = index;
}

//==============================================================================
void VlControlCfg::addNewState()
{
    states.push_back (std::make_unique<VlControlState>());
    currentState = 0;
}

int VlControlCfg::addState (std::unique_ptr<VlControlState> state)
{
    jassert (state != nullptr);
    states.push_back (std::move (state));
    return (int) states.size() - 1;
}

void VlControlCfg::deleteState (const VlControlState* state)
{
    if (states.size() < 2)
        return;

    const auto index = indexOfState (state);

    if (index < 0)
        return;

    const auto wasCurrent = index == currentState;
    states.erase (states.begin() + index);

    if (wasCurrent || currentState >= states.size())
        currentState = 0;

    // The initial state stays the one the user chose; when it goes, the first one is
    // initial (as a load would make it), never a state that takes its place later.
    if (index == initState)
        initState = 0;
    else if (index < initState)
        --initState;
}

void VlControlCfg::deleteAllStates()
{
    states.clear();
    initState = 0;
}

void VlControlCfg::moveState (int a, int b)
{
    const auto count = (int) states.size();

    if (juce::isPositiveAndBelow (a, count) && juce::isPositiveAndBelow (b, count))
        std::swap (states[(size_t) a], states[(size_t) b]);
}

int VlControlCfg::indexOfState (const VlControlState* state) const noexcept
{
    for (size_t i = 0; i < states.size(); ++i)
        if (states[i].get() == state)
            return (int) i;

    return -1;
}

//==============================================================================
void VlControlCfg::trigger (int controlId, juce::uint8 value)
{
    auto& end = getEnd();

    if (! end.muted)
        if (auto* state = end.getState (end.currentState))
            state->execute (value);

    end.currentValue = value;

    const auto count = end.getPlayedStates().size();

    if (isFootswitchId (controlId) && value == 0 && count >= 2)
    {
        end.currentState = (juce::uint8) ((size_t) end.currentState + 1 < count ? end.currentState + 1 : 0);

        if (auto* e = engine())
            e->refreshButton (controlId);
    }
}

void VlControlCfg::setMuted (bool shouldBeMuted)
{
    auto& end = getEnd();
    auto* e = engine();
    const auto initialising = e != nullptr && e->getMode() == ModeInitialising;

    // A state that mutes its own control (reachable only through crafted links)
    // would come back here for ever.
    if ((end.muted == shouldBeMuted && ! initialising) || end.muting)
        return;

    end.muting = true;

    if (auto* state = end.getState (end.currentState))
        state->execute (shouldBeMuted ? 0 : end.currentValue);

    end.muting = false;
    end.muted = shouldBeMuted;

    if (e != nullptr)
        e->refreshPedals();
}

void VlControlCfg::sendInitValue()
{
    if (linked)
        return;

    const auto value = (juce::uint8) juce::jmin ((int) initValue, 127);

    if (! states.empty())
        states.front()->execute (value);

    currentValue = value;
}

void VlControlCfg::playInitState()
{
    if (linked)
        return;

    if (initState >= states.size())
        initState = 0;

    if (states.size() < 2)
        return;

    const auto before = (juce::uint8) (((initState != 0 ? (int) initState : (int) states.size()) - 1) & 0xff);
    currentState = before;

    if (auto* state = getState (before))
    {
        state->execute (1);
        state->execute (0);
    }

    currentState = initState;
}

//==============================================================================
int VlControlCfg::getOwnId() const
{
    auto* e = engine();

    if (e == nullptr)
        return -1;

    auto* patch = e->getPatch ((juce::uint16) e->patchIndexOfControl (*this));
    return patch != nullptr ? patch->getIdOfControl (this) : -1;
}

void VlControlCfg::setLinked (bool shouldBeLinked)
{
    if (linked == shouldBeLinked)
        return;

    pendingLinkPatch.reset();
    clearLinkTarget();

    // A mute of its own, hidden behind the link (a test in the editor may have left it),
    // would silence the control for good once it plays on its own again.
    muted = false;

    if (shouldBeLinked)
    {
        deleteAllStates();

        if (auto* e = engine())
        {
            auto* ownPatch = e->getPatch ((juce::uint16) e->patchIndexOfControl (*this));
            VlEngine::ControlsByPatch linkable;

            if (e->collectLinkableControls (getOwnId(), linkable, ownPatch))
            {
                const auto& [patchIndex, ids] = *linkable.begin();
                linkPatch = e->getPatch (patchIndex);
                linkControl = linkPatch != nullptr ? linkPatch->getControl (ids.front()) : nullptr;
            }
        }
    }
    else
    {
        addNewState();
    }

    linked = shouldBeLinked;
    resolveLink();
}

void VlControlCfg::setLinkPatch (juce::uint16 patchIndex)
{
    auto* e = engine();

    if (! linked || e == nullptr)
        return;

    pendingLinkPatch.reset();
    linkPatch = e->getPatch (patchIndex);
    linkControl = nullptr;

    VlEngine::ControlsByPatch linkable;
    e->collectLinkableControls (getOwnId(), linkable, nullptr);
    const auto found = linkable.find (patchIndex);

    if (linkPatch != nullptr && found != linkable.end())
        linkControl = linkPatch->getControl (found->second.front());
}

void VlControlCfg::setLinkControl (int controlId)
{
    if (linked)
        linkControl = linkPatch != nullptr ? linkPatch->getControl (controlId) : nullptr;
}

juce::uint16 VlControlCfg::getLinkPatchIndex() const
{
    if (! linked)
        return 0;

    auto* e = engine();
    return e != nullptr ? (juce::uint16) e->indexOfPatch (linkPatch) : NoIndex;
}

int VlControlCfg::getLinkControlId() const
{
    return linked && linkPatch != nullptr ? linkPatch->getIdOfControl (linkControl) : -1;
}

void VlControlCfg::setPendingLink (bool isLinked, juce::uint16 patchIndex, int controlId) noexcept
{
    clearLinkTarget();
    linked = isLinked;
    pendingLinkPatch = patchIndex;
    pendingLinkControl = controlId;
}

bool VlControlCfg::resolveLink()
{
    if (pendingLinkPatch.has_value())
    {
        auto* e = engine();
        linkPatch = e != nullptr ? e->getPatch (*pendingLinkPatch) : nullptr;
        linkControl = linkPatch != nullptr ? linkPatch->getControl (pendingLinkControl) : nullptr;
        pendingLinkPatch.reset();
    }

    if (! linked)
        return true;

    // A chain that does not end makes this a link without target: it plays nothing.
    if (linkControl != nullptr && &getEnd() == this)
        linkControl = nullptr;

    return linkPatch != nullptr && linkControl != nullptr;
}

void VlControlCfg::clearLinkTarget() noexcept
{
    linkPatch = nullptr;
    linkControl = nullptr;
}

void VlControlCfg::forgetTargets (const std::set<const VlPatch*>& patches,
                                  const std::set<const VlControlCfg*>& controls)
{
    if (patches.count (linkPatch) != 0)
        clearLinkTarget();
    else if (controls.count (linkControl) != 0)
        linkControl = nullptr;

    for (const auto& state : states)
        for (const auto& action : state->getActions())
            action->forgetTargets (patches, controls);
}

//==============================================================================
void VlControlCfg::saveToXml (juce::XmlElement& item) const
{
    item.setAttribute (VlXml::label, label);
    item.setAttribute (VlXml::target, target);
    item.setAttribute (VlXml::color, colorToText (color));
    item.setAttribute (VlXml::initState, (int) initState);
    item.setAttribute (VlXml::initValue, (int) initValue);
    item.setAttribute (VlXml::linked, linked ? 1 : 0);
    item.setAttribute (VlXml::linkPatch, (int) getLinkPatchIndex());
    item.setAttribute (VlXml::linkControl, getLinkControlId());

    if (! linked)
        for (const auto& state : states)
            item.addChildElement (state->createXml().release());
}

bool VlControlCfg::loadFromXml (bool footswitch, const juce::XmlElement& item, juce::uint16 patchOffset)
{
    for (const auto& name : { VlXml::label, VlXml::target, VlXml::color, VlXml::initState, VlXml::initValue,
                              VlXml::linked, VlXml::linkPatch, VlXml::linkControl })
        if (! CXml::hasAttribute (item, name))
            return false;

    label = CXml::getString (item, VlXml::label);
    target = CXml::getString (item, VlXml::target);
    color = colorFromText (CXml::getString (item, VlXml::color));
    initState = (juce::uint8) CXml::getInt (item, VlXml::initState);
    initValue = (juce::uint8) CXml::getInt (item, VlXml::initValue);
    setPendingLink (CXml::getInt (item, VlXml::linked) == 1,
                    rebasePatchIndex (CXml::getInt (item, VlXml::linkPatch), patchOffset),
                    CXml::getInt (item, VlXml::linkControl));

    for (auto* child : item.getChildIterator())
    {
        if (! CXml::hasTag (*child, VlXml::state))
            continue;

        // A link's states must still be readable, but are not kept: a link plays its
        // target's states, and a link without target plays nothing.
        auto state = std::make_unique<VlControlState>();
        const auto read = state->loadFromXml (footswitch, *child, patchOffset);

        if (! linked)
            addState (std::move (state));

        if (! read)
            return false;
    }

    return true;
}
