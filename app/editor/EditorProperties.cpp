#include "app/editor/EditorProperties.h"

#include "app/editor/EditorHost.h"
#include "engine/VlEngine.h"
#include "engine/VlTexts.h"
#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"

#include <functional>
#include <map>

namespace
{
    //==============================================================================
    // The edited object of an id: the selection's engine, patch, control or state, or
    // its action when the action is of the class the id names.
    template <typename Object>
    Object* find (EditorSelection& selection)
    {
        if constexpr (std::is_same_v<Object, VlEngine>)
            return &selection.getEngine();
        else if constexpr (std::is_same_v<Object, VlPatch>)
            return selection.getCurrentPatch();
        else if constexpr (std::is_same_v<Object, VlControlCfg>)
            return selection.getCurrentControl();
        else if constexpr (std::is_same_v<Object, VlControlState>)
            return selection.getCurrentState();
        else
            return dynamic_cast<Object*> (selection.getCurrentAction());
    }

    // One field of the edited object: nothing is read and nothing is written without it.
    template <typename Value>
    struct Field
    {
        std::function<std::optional<Value> (EditorSelection&)> read;
        std::function<bool (EditorSelection&, Value)> write;
    };

    // A field of an object of that class, read and written through these getter and
    // setter (member functions or lambdas). Numbers are cut to the setter's width.
    template <typename Object, typename Value, typename Get, typename Set>
    Field<Value> on (Get get, Set set)
    {
        return { [get] (EditorSelection& selection) -> std::optional<Value> {
                    if (auto* object = find<Object> (selection))
                        return (Value) std::invoke (get, *object);

                    return std::nullopt;
                },
                 [set] (EditorSelection& selection, Value value) {
                     auto* object = find<Object> (selection);

                     if (object != nullptr)
                         std::invoke (set, *object, value);

                     return object != nullptr;
                 } };
    }

    // A device row: the action's device as its position among the offered names
    // (exact match; an empty name is never a device), written as the name at that position.
    template <typename Action>
    Field<int> deviceOf()
    {
        return { [] (EditorSelection& selection) -> std::optional<int> {
                    if (auto* action = find<Action> (selection))
                    {
                        const auto& device = action->getDevice();
                        return device.isEmpty() ? -1 : selection.getOutputDeviceNames().indexOf (device);
                    }

                    return std::nullopt;
                },
                 [] (EditorSelection& selection, int index) {
                     auto* action = find<Action> (selection);

                     if (action != nullptr)
                         action->setDevice (selection.getOutputDeviceNames()[index]);

                     return action != nullptr;
                 } };
    }

    juce::String asDecimal (int value)
    {
        return juce::String (value);
    }

    //==============================================================================
    const std::map<PropertyId, Field<juce::String>>& textFields()
    {
        static const std::map<PropertyId, Field<juce::String>> fields {
            { PropertyId::patchName, on<VlPatch, juce::String> (&VlPatch::getName, &VlPatch::setName) },
            { PropertyId::patchComment, on<VlPatch, juce::String> (&VlPatch::getComment, &VlPatch::setComment) },
            { PropertyId::controlLabel,
              on<VlControlCfg, juce::String> (&VlControlCfg::getLabel, &VlControlCfg::setLabel) },
            { PropertyId::controlTarget,
              on<VlControlCfg, juce::String> (&VlControlCfg::getTarget, &VlControlCfg::setTarget) },
            { PropertyId::stateLabel,
              on<VlControlState, juce::String> (&VlControlState::getLabel, &VlControlState::setLabel) },
            { PropertyId::actionComment, on<VlAction, juce::String> (&VlAction::getComment, &VlAction::setComment) },
            // A refused sequence leaves the previous one, which the row then shows again.
            { PropertyId::sysexSequence,
              on<VlaSysEx, juce::String> (&VlaSysEx::getSequence, &VlaSysEx::parseSequence) },
            { PropertyId::sysexMinValue,
              on<VlaSysExContinuos, juce::String> ([] (auto& a) { return asDecimal (a.getMinValue()); },
                                                   [] (auto& a, auto text) { a.setMinValue (text.getIntValue()); }) },
            { PropertyId::sysexMaxValue,
              on<VlaSysExContinuos, juce::String> ([] (auto& a) { return asDecimal (a.getMaxValue()); },
                                                   [] (auto& a, auto text) { a.setMaxValue (text.getIntValue()); }) },
        };

        return fields;
    }

    //==============================================================================
    // Choice lists. Each fills the choices from the model; a list that needs an object
    // that is missing stays empty.
    using ChoiceList = std::function<void (EditorSelection&, EditorChoices&)>;

    ChoiceList numbers (int first, int last)
    {
        return [first, last] (EditorSelection&, EditorChoices& choices) {
            for (int n = first; n <= last; ++n)
                choices.add (asDecimal (n), n);
        };
    }

    ChoiceList named (std::vector<std::pair<juce::String, int>> items)
    {
        return [items] (EditorSelection&, EditorChoices& choices) {
            for (const auto& [text, value] : items)
                choices.add (text, value);
        };
    }

    juce::String patchChoiceText (VlEngine& engine, int index)
    {
        return asDecimal (index) + " - " + engine.getPatch ((juce::uint16) index)->getName();
    }

    juce::String controlChoiceText (int controlId)
    {
        juce::String text;
        VlTexts::getControlText (controlId, text);
        return text;
    }

    // The controls the current control may link to: plain controls of its kind in the
    // other patches.
    VlEngine::ControlsByPatch linkTargets (EditorSelection& selection)
    {
        VlEngine::ControlsByPatch targets;
        auto* patch = selection.getCurrentPatch();

        if (auto* control = selection.getCurrentControl(); patch != nullptr && control != nullptr)
            selection.getEngine().collectLinkableControls (patch->getIdOfControl (control), targets, patch);

        return targets;
    }

    void isLinkChoices (EditorSelection& selection, EditorChoices& choices)
    {
        auto* control = selection.getCurrentControl();

        if (selection.getCurrentPatch() == nullptr || control == nullptr)
            return;

        VlEngine::ControlRefs linkedHere;
        selection.getEngine().collectControlsLinkedToControl (*control, linkedHere);

        if (linkTargets (selection).empty())
        {
            choices.add ("no (n/a)", 0);
        }
        else if (! linkedHere.empty())
        {
            choices.add ("no (is linked)", 0);
        }
        else
        {
            choices.add ("yes", 1);
            choices.add ("no", 0);
        }
    }

    void linkPatchChoices (EditorSelection& selection, EditorChoices& choices)
    {
        for (const auto& [index, ids] : linkTargets (selection))
            choices.add (patchChoiceText (selection.getEngine(), index), index);
    }

    void linkControlChoices (EditorSelection& selection, EditorChoices& choices)
    {
        const auto targets = linkTargets (selection);

        if (auto* control = selection.getCurrentControl())
            if (const auto found = targets.find (control->getLinkPatchIndex()); found != targets.end())
                for (auto id : found->second)
                    choices.add (controlChoiceText (id), id);
    }

    void stateChoices (EditorSelection& selection, EditorChoices& choices)
    {
        if (auto* control = selection.getCurrentControl())
            for (int i = 0; i < control->getStateCount(); ++i)
                choices.add ("#" + asDecimal (i + 1), i);
    }

    void goToChoices (EditorSelection& selection, EditorChoices& choices)
    {
        if (selection.getCurrentPatch() == nullptr)
            return;

        auto& engine = selection.getEngine();

        for (int i = 0; i < engine.getNumPatches(); ++i)
            choices.add (patchChoiceText (engine, i), i);
    }

    void mutePatchChoices (EditorSelection& selection, EditorChoices& choices)
    {
        auto& engine = selection.getEngine();
        VlEngine::ControlsByPatch pedals;
        engine.collectPatchPedals (pedals);

        for (const auto& [index, ids] : pedals)
            choices.add (patchChoiceText (engine, index)
                             + (engine.getPatch (index) == selection.getCurrentPatch() ? " (this)" : ""),
                         index);
    }

    void mutePedalChoices (EditorSelection& selection, EditorChoices& choices)
    {
        auto* action = find<VlaMute> (selection);

        if (action == nullptr)
            return;

        VlEngine::ControlsByPatch pedals;
        selection.getEngine().collectPatchPedals (pedals);

        if (const auto found = pedals.find (action->getPatchIndex()); found != pedals.end())
            for (auto id : found->second)
                choices.add (controlChoiceText (id), id);
    }

    void deviceChoices (EditorSelection& selection, EditorChoices& choices)
    {
        const auto& names = selection.getOutputDeviceNames();

        for (int i = 0; i < names.size(); ++i)
            choices.add (names[i], i);
    }

    // A pair from a file may leave one list empty (a minimum of 127 or more, a maximum of
    // 0), whose correction would store the -1 of an empty list as 255: make the pair
    // valid first, keeping the minimum where it can.
    VlamCCContinuos* validRange (EditorSelection& selection)
    {
        auto* action = find<VlamCCContinuos> (selection);

        if (action != nullptr)
        {
            if (action->getMinValue() > 126)
                action->setMinValue (126);

            if (action->getMaxValue() == 0)
                action->setMaxValue ((juce::uint8) (action->getMinValue() + 1));
        }

        return action;
    }

    void minValueChoices (EditorSelection& selection, EditorChoices& choices)
    {
        if (auto* action = validRange (selection))
            numbers (0, action->getMaxValue() - 1) (selection, choices);
    }

    void maxValueChoices (EditorSelection& selection, EditorChoices& choices)
    {
        if (auto* action = validRange (selection))
            numbers (action->getMinValue() + 1, 127) (selection, choices);
    }

    // "n - name", or "n - " for a number the MIDI library has no name for.
    void controllerChoices (EditorSelection&, EditorChoices& choices)
    {
        for (int n = 0; n < 128; ++n)
        {
            const auto* name = juce::MidiMessage::getControllerName (n);
            choices.add (asDecimal (n) + " - " + (name != nullptr ? juce::String (name) : juce::String()), n);
        }
    }

    // Middle C (60) is C3: 0 is C-2, 127 is G8.
    void noteChoices (EditorSelection&, EditorChoices& choices)
    {
        for (int n = 0; n < 128; ++n)
            choices.add (asDecimal (n) + " - " + juce::MidiMessage::getMidiNoteName (n, true, true, 3), n);
    }

    // The footswitch of a navigation function; only a new on/off footswitch asks whether
    // the patches' own controls should make way for it.
    Field<int> footswitchOf (NavigationFunction function)
    {
        return on<VlEngine, int> ([function] (VlEngine& engine) { return engine.getFootswitchOfFunction (function); },
                                  [function] (VlEngine& engine, int footswitch) {
                                      engine.setNavigationFunction (function, footswitch, function == NavOnOff);
                                  });
    }

    // "yes" deletes the control's states: the engine asks first when they hold actions.
    Field<int> linkFlag()
    {
        auto field = on<VlControlCfg, int> (&VlControlCfg::isLinked, [] (auto& c, int v) { c.setLinked (v == 1); });
        field.write = [plain = field.write] (EditorSelection& selection, int value) {
            auto* control = find<VlControlCfg> (selection);
            return value == 1 && control != nullptr ? selection.getEngine().makeLink (*control)
                                                    : plain (selection, value);
        };
        return field;
    }

    // "none" and its separator both stand for no footswitch.
    void footswitchChoices (EditorSelection&, EditorChoices& choices)
    {
        choices.add ("none", -1);
        choices.add ({}, -1);

        for (int footswitch = 1; footswitch <= 10; ++footswitch)
            choices.add ("Footswitch " + asDecimal (footswitch), footswitch);
    }

    //==============================================================================
    // What a row writes in place of a stored value (from a file) that none of its choices
    // holds; null keeps the value as stored.
    using Correction = int (*) (int stored, const EditorChoices& choices);

    constexpr Correction keptAsStored = nullptr;

    int corrected (int, const EditorChoices& choices)
    {
        return choices.valueOfIndex (0);
    }

    // The choice that plays as the stored value does: the message creators send a channel
    // of 0 on 1 and one above 16 on 16; a switch other than 1 unmutes.
    int channelPlayedOn (int stored, const EditorChoices&)
    {
        return juce::jlimit (1, 16, stored);
    }

    int switchPlayed (int stored, const EditorChoices&)
    {
        return stored == 1 ? 1 : 0;
    }

    struct ChoiceProperty
    {
        Field<int> field;
        ChoiceList choices;
        Correction correction;
    };

    const std::map<PropertyId, ChoiceProperty>& choiceProperties()
    {
        static const std::map<PropertyId, ChoiceProperty> properties {
            { PropertyId::patchLevel,
              { on<VlPatch, int> (&VlPatch::getLevel, &VlPatch::setLevel), numbers (0, 31), corrected } },
            { PropertyId::initState,
              { on<VlControlCfg, int> (&VlControlCfg::getInitState, &VlControlCfg::setInitState), stateChoices,
                corrected } },
            { PropertyId::initValue,
              { on<VlControlCfg, int> (&VlControlCfg::getInitValue, &VlControlCfg::setInitValue), numbers (0, 127),
                keptAsStored } },
            { PropertyId::isLink, { linkFlag(), isLinkChoices, corrected } },
            { PropertyId::linkPatch,
              { on<VlControlCfg, int> (&VlControlCfg::getLinkPatchIndex, &VlControlCfg::setLinkPatch), linkPatchChoices,
                corrected } },
            { PropertyId::linkControl,
              { on<VlControlCfg, int> (&VlControlCfg::getLinkControlId, &VlControlCfg::setLinkControl),
                linkControlChoices, corrected } },
            { PropertyId::executeAt,
              { on<VlExecutionStage, int> (&VlExecutionStage::getStage, &VlExecutionStage::setStage),
                named ({ { "press", 1 }, { "release", 0 } }), corrected } },
            { PropertyId::goToPatch,
              { on<VlaGoTo, int> (&VlaGoTo::getPatchIndex, &VlaGoTo::setPatch), goToChoices, corrected } },
            // Choosing the patch also picks its first pedal.
            { PropertyId::mutePatch,
              { on<VlaMute, int> (&VlaMute::getPatchIndex, &VlaMute::setPatch), mutePatchChoices, corrected } },
            { PropertyId::mutePedal,
              { on<VlaMute, int> (&VlaMute::getPedalId, &VlaMute::setPedalId), mutePedalChoices, corrected } },
            { PropertyId::muteSwitch,
              { on<VlaMute, int> (&VlaMute::getMuteSwitch, &VlaMute::setMuteSwitch),
                named ({ { "mute", 1 }, { "unmute", 0 } }), switchPlayed } },
            { PropertyId::midiChannel,
              { on<VlaMidi, int> (&VlaMidi::getChannel, &VlaMidi::setChannel), numbers (1, 16), channelPlayedOn } },
            { PropertyId::midiDevice, { deviceOf<VlaMidi>(), deviceChoices, corrected } },
            { PropertyId::sysexDevice, { deviceOf<VlaSysEx>(), deviceChoices, corrected } },
            { PropertyId::datumSize,
              { on<VlaSysExContinuos, int> (&VlaSysExContinuos::getDatumSize, &VlaSysExContinuos::setDatumSize),
                named ({ { "1 byte", 1 }, { "2 bytes", 2 } }), corrected } },
            { PropertyId::program,
              { on<VlamProgramChange, int> (&VlamProgramChange::getProgram, &VlamProgramChange::setProgram),
                numbers (0, 127), keptAsStored } },
            { PropertyId::ccValue,
              { on<VlamCCFixed, int> (&VlamCCFixed::getValue, &VlamCCFixed::setValue), numbers (0, 127),
                keptAsStored } },
            { PropertyId::ccMinValue,
              { on<VlamCCContinuos, int> (&VlamCCContinuos::getMinValue, &VlamCCContinuos::setMinValue),
                minValueChoices, corrected } },
            { PropertyId::ccMaxValue,
              { on<VlamCCContinuos, int> (&VlamCCContinuos::getMaxValue, &VlamCCContinuos::setMaxValue),
                maxValueChoices, corrected } },
            { PropertyId::controller,
              { on<VlamControlChange, int> (&VlamControlChange::getController, &VlamControlChange::setController),
                controllerChoices, keptAsStored } },
            { PropertyId::velocity,
              { on<VlamNote, int> (&VlamNote::getVelocity, &VlamNote::setVelocity), numbers (0, 127), keptAsStored } },
            { PropertyId::noteNumber,
              { on<VlamNote, int> (&VlamNote::getNumber, &VlamNote::setNumber), noteChoices, keptAsStored } },
            { PropertyId::navOnOff, { footswitchOf (NavOnOff), footswitchChoices, keptAsStored } },
            { PropertyId::navGoUp, { footswitchOf (NavGoUp), footswitchChoices, keptAsStored } },
            { PropertyId::navGoBackward, { footswitchOf (NavBackward), footswitchChoices, keptAsStored } },
            { PropertyId::navGoForward, { footswitchOf (NavForward), footswitchChoices, keptAsStored } },
            { PropertyId::navNextPatch, { footswitchOf (NavNext), footswitchChoices, keptAsStored } },
            { PropertyId::navLastPatch, { footswitchOf (NavPrevious), footswitchChoices, keptAsStored } },
        };

        return properties;
    }

    //==============================================================================
    struct ColorProperty
    {
        Field<juce::uint32> field;
        const ColorSet& (VlEngine::*library)() const noexcept;
    };

    const std::map<PropertyId, ColorProperty>& colorProperties()
    {
        static const std::map<PropertyId, ColorProperty> properties {
            { PropertyId::patchColor,
              { on<VlPatch, juce::uint32> (&VlPatch::getColor, &VlPatch::setColor), &VlEngine::getPatchColors } },
            { PropertyId::controlColor,
              { on<VlControlCfg, juce::uint32> (&VlControlCfg::getColor, &VlControlCfg::setColor),
                &VlEngine::getControlColors } },
            { PropertyId::stateColor,
              { on<VlControlState, juce::uint32> (&VlControlState::getColor, &VlControlState::setColor),
                &VlEngine::getStateColors } },
            { PropertyId::switchesColor,
              { on<VlEngine, juce::uint32> (&VlEngine::getNavigationColor, &VlEngine::setNavigationColor),
                &VlEngine::getControlColors } },
        };

        return properties;
    }

    template <typename Property>
    const Property* lookUp (const std::map<PropertyId, Property>& table, int propertyId)
    {
        const auto found = table.find ((PropertyId) propertyId);
        return found != table.end() ? &found->second : nullptr;
    }
}

//==============================================================================
juce::String EditorProperties::getText (EditorSelection& selection, int propertyId)
{
    const auto* field = lookUp (textFields(), propertyId);
    return field != nullptr ? field->read (selection).value_or (juce::String()) : juce::String();
}

bool EditorProperties::setText (EditorSelection& selection, int propertyId, const juce::String& text)
{
    const auto* field = lookUp (textFields(), propertyId);
    return field != nullptr && field->write (selection, text);
}

EditorChoices EditorProperties::prepareChoices (EditorSelection& selection, int propertyId)
{
    EditorChoices choices;

    if (const auto* property = lookUp (choiceProperties(), propertyId))
    {
        property->choices (selection, choices);

        if (const auto stored = property->field.read (selection);
            property->correction != nullptr && stored.has_value() && choices.indexOfValue (*stored) < 0)
            property->field.write (selection, property->correction (*stored, choices));
    }

    return choices;
}

std::optional<int> EditorProperties::getValue (EditorSelection& selection, int propertyId)
{
    const auto* property = lookUp (choiceProperties(), propertyId);
    return property != nullptr ? property->field.read (selection) : std::nullopt;
}

bool EditorProperties::setValue (EditorSelection& selection, int propertyId, int value)
{
    const auto* property = lookUp (choiceProperties(), propertyId);

    if (property == nullptr)
        return false;

    // A row offers the choices of its last refresh; a change it has not caught up with yet
    // (another patch for the link or the mute) may have taken the picked value away, and a
    // link or mute that points at nothing is a damaged document.
    EditorChoices offered;
    property->choices (selection, offered);
    return offered.indexOfValue (value) >= 0 && property->field.write (selection, value);
}

const ColorSet* EditorProperties::getColorSet (EditorSelection& selection, int propertyId)
{
    const auto* property = lookUp (colorProperties(), propertyId);
    return property != nullptr ? &(selection.getEngine().*property->library)() : nullptr;
}

juce::uint32 EditorProperties::getColor (EditorSelection& selection, int propertyId)
{
    const auto* property = lookUp (colorProperties(), propertyId);
    return property != nullptr ? property->field.read (selection).value_or (0u) : 0u;
}

bool EditorProperties::setColor (EditorSelection& selection, int propertyId, juce::uint32 color)
{
    const auto* property = lookUp (colorProperties(), propertyId);
    return property != nullptr && property->field.write (selection, color);
}

void EditorProperties::tell (EditorSelection& selection, int propertyId)
{
    // The selection that made the row is whom it concerns: the patches editor, or the
    // navigation setup for the navigation rows.
    selection.propertyChanged (propertyId);
}

juce::String EditorProperties::getTooltip (int propertyId)
{
    if (propertyId < 1 || propertyId > 41)
        return {};

    return EditorHost::getHelpText (49 + propertyId);
}
