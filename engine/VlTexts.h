#pragma once

#include <juce_core/juce_core.h>

class VlEngine;
class VlPatch;
class VlControlCfg;

/** How patches, controls and states are named in the editor's lists and in the
    engine's messages. Each writes its text into `text` and answers true; when the
    object does not exist it leaves `text` untouched and answers false.
*/
namespace VlTexts
{
    /** "3. Solo" for the engine's patch at position 3 named Solo. */
    bool getPatchText (const VlEngine& engine, int index, juce::String& text);

    /** "footswitch 4" for 4, "expr. pedal 2" for 12 (always exists). */
    bool getControlText (int controlId, juce::String& text);

    /** The getControlText of the patch's control at that row (controls in id order). */
    bool getControlRowText (const VlPatch& patch, int row, juce::String& text);

    /** "#1" for the first state of the control (states at the end of its link chain). */
    bool getStateText (const VlControlCfg& control, int index, juce::String& text);
}
