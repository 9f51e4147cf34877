#pragma once

#include "engine/VlPropertyRow.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <set>

class VlEngine;
class VlPatch;
class VlControlCfg;

//==============================================================================
/** One thing a state does when its control is used: send MIDI, select a patch,
    mute or unmute an expression pedal.

    Actions are owned by their state (VlControlState). Each level of the class tree
    writes and reads its own attributes, base first. Footswitch actions run with 1
    (press) or 0 (release), pedal actions with the pedal value 0..127; they run on
    the MIDI input thread under the message-manager lock or on the main thread.
*/
class VlAction
{
public:
    /** A new action with an empty comment. */
    explicit VlAction (const juce::String& typeName);

    /** Copies the type name and the comment. */
    VlAction (const VlAction&);

    /** Frees the action. */
    virtual ~VlAction();

    //==============================================================================
    /** The kind of action in words ("midi note", "go to patch"...), as lists and messages show it. */
    const juce::String& getTypeName() const noexcept { return typeName; }

    /** The name of the output device the action sends to; null for an action that
        sends no MIDI.
    */
    virtual const juce::String* getOutputDevice() const noexcept { return nullptr; }

    /** The user's remark. */
    const juce::String& getComment() const noexcept { return comment; }

    /** Changes the user's remark. */
    void setComment (const juce::String& newComment) { comment = newComment; }

    //==============================================================================
    /** Turns the patch index and control id read from a document into references to
        the engine's objects. False when a target is missing. Actions without
        references answer true.
    */
    virtual bool resolveReferences();

    /** True when the action targets this patch. */
    virtual bool refersToPatch (const VlPatch& patch) const;

    /** True when the action targets this control. */
    virtual bool refersToControl (const VlControlCfg& control) const;

    /** Drops every target that is one of these patches or controls, which are about to
        be deleted: the action then has no target and does nothing. Actions without
        references ignore it.
    */
    virtual void forgetTargets (const std::set<const VlPatch*>& patches, const std::set<const VlControlCfg*>& controls);

    //==============================================================================
    /** The element name of the most derived class ("note", "cc", "goto"...). */
    virtual juce::String getElementName() const = 0;

    /** A new element named getElementName() holding every attribute; the caller owns it. */
    std::unique_ptr<juce::XmlElement> createXml() const;

    /** Adds this level's attributes to the element, after those of its bases. */
    virtual void saveToXml (juce::XmlElement& element) const;

    /** Reads this level's attributes, after those of its bases. False, before any of
        this level's attributes is taken, when one of them is missing. Names compare
        without regard to case; numbers that are not numbers read as 0.
        @param patchOffset  added to every patch index read (a merge behind other patches)
    */
    virtual bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset);

    //==============================================================================
    /** Appends the editor rows of the action's editable fields, base first: the
        comment, then each level's own rows.
    */
    virtual void addProperties (VlPropertyRows& rows) const;

    //==============================================================================
    /** Runs the action: 1 press / 0 release for footswitch actions, 0..127 for pedal ones. */
    virtual void execute (juce::uint8 value) = 0;

    /** A copy of the same class; run-time values (last value sent) start afresh. */
    virtual std::unique_ptr<VlAction> clone() const = 0;

    //==============================================================================
    /** The action that a state's child element of this tag makes, tags compared without
        regard to case: "goto", "mute", "pc", "cc", "note", "sysex" under a footswitch,
        "cc" and "sysex" (the continuous kinds) under a pedal. Null for any other tag.
    */
    static std::unique_ptr<VlAction> createForTag (const juce::String& tag, bool footswitch);

protected:
    /** The engine the action plays in, or null when there is none. */
    static VlEngine* getEngine() noexcept;

    /** True in the modes where a continuous action sends an unchanged value again:
        while the initial values are played (5) and while the editor tests (6).
    */
    static bool resendsUnchangedValues() noexcept;

    /** True when every one of the attributes is present (names without regard to case). */
    static bool hasAttributes (const juce::XmlElement& element, std::initializer_list<juce::StringRef> names);

private:
    juce::String typeName, comment;

    VlAction& operator= (const VlAction&) = delete;
    JUCE_LEAK_DETECTOR (VlAction)
};
