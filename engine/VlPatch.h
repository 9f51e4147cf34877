#pragma once

#include "engine/VlControlCfg.h"

#include <map>

//==============================================================================
/** One patch of the document: a named set of control definitions, one per used
    control id (1..10 footswitches, 11 and 12 expression pedals), held in ascending
    id order. Owns its controls.
*/
class VlPatch
{
public:
    /** "Untitled", level 0, colour 0xFFE3E3E3, no comment, no controls. */
    VlPatch();

    /** A patch owning copies of the other's controls (see operator=). */
    VlPatch (const VlPatch& other);

    /** Replaces everything by a copy of the other patch; copied links link to the same controls. */
    VlPatch& operator= (const VlPatch& other);

    /** Deletes every control. */
    ~VlPatch();

    //==============================================================================
    /** The name shown in the patch list and in messages. */
    const juce::String& getName() const noexcept { return name; }

    /** Changes the name. */
    void setName (const juce::String& newName) { name = newName; }

    /** The rank for navigation: 0 is the highest. */
    juce::uint8 getLevel() const noexcept { return level; }

    /** Changes the rank. */
    void setLevel (juce::uint8 newLevel) noexcept { level = newLevel; }

    /** The ARGB colour. */
    juce::uint32 getColor() const noexcept { return color; }

    /** Changes the colour. */
    void setColor (juce::uint32 newColor) noexcept { color = newColor; }

    /** Free text. */
    const juce::String& getComment() const noexcept { return comment; }

    /** Changes the free text. */
    void setComment (const juce::String& newComment) { comment = newComment; }

    //==============================================================================
    /** The controls by id, in ascending id order. */
    const std::map<int, std::unique_ptr<VlControlCfg>>& getControls() const noexcept { return controls; }

    /** The number of controls, all kinds. */
    int getNumControls() const noexcept { return (int) controls.size(); }

    /** The control under that id, or null. */
    VlControlCfg* getControl (int controlId) const;

    /** Puts the control under the id and returns it. When the id is taken, or the
        control is null, the patch keeps what it has and the given control is deleted;
        the answer is then null.
    */
    VlControlCfg* setControl (int controlId, std::unique_ptr<VlControlCfg> control);

    /** Deletes the control when this patch holds it (looked up by identity); else nothing. */
    void removeControl (const VlControlCfg* control);

    /** Deletes every control. */
    void deleteAllControls();

    /** The control at that 0-based position in id order and its id; null (id untouched)
        when the position is out of range.
    */
    VlControlCfg* getControlAt (int position, int& controlId) const;

    /** The control's position in id order, -1 when not held here. */
    int indexOfControl (const VlControlCfg* control) const;

    /** The id under which this patch holds the control, -1 when it does not. */
    int getIdOfControl (const VlControlCfg* control) const;

    /** For ids 1..10 the number of footswitch controls, for 11 and 12 the number of
        pedal controls, for any other value the number of all controls.
    */
    int countControlsOfKind (int controlId) const;

    /** Moves the control on that footswitch (the same object) to the lowest free
        footswitch id; nothing when there is none on it or no id is free.
    */
    void rearrange (int footswitch);

    //==============================================================================
    /** A new "patch" element with "name", "level", "color", "comment" and one "item"
        child per control in ascending id; the caller owns it.
    */
    std::unique_ptr<juce::XmlElement> createXml() const;

    /** Reads the four attributes (all required: false before any is taken), then one
        control per "item" child. False when an item's "id" is missing, outside 1..12 or
        already used, or when the control cannot be read (what was read so far stays).
        @param patchOffset  added to every patch index read (a merge behind other patches)
    */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset);

private:
    juce::String name { "Untitled" };
    juce::uint8 level = 0;
    std::map<int, std::unique_ptr<VlControlCfg>> controls;
    juce::uint32 color = 0xffe3e3e3;
    juce::String comment;

    JUCE_LEAK_DETECTOR (VlPatch)
};
