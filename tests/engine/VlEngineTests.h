#pragma once

#include "fixtures/EngineFixture.h"
#include "fixtures/FakePrompts.h"

// The fixture of the engine's tests, one file per job of the engine (VlEngine*Tests.cpp):
// its MIDI input, the navigation steps, documents written as text and opened the way the
// application opens them, and the questions the prompts were asked.
class VlEngineTests : public EngineFixture
{
protected:
    FakePrompts prompts;

    void midi (const juce::MidiMessage& message) { engine.handleIncomingMidiMessage (nullptr, message); }
    juce::String takeCalls() { return ui.takeCalls().joinIntoString ("; "); }

    static juce::MidiMessage noteOn (int note, int velocity = 100, int channel = 1)
    {
        return juce::MidiMessage::noteOn (channel, note, (juce::uint8) velocity);
    }
    static juce::MidiMessage cc (int controller, int value)
    {
        return juce::MidiMessage::controllerEvent (1, controller, value);
    }
    void visit (std::initializer_list<juce::uint16> patches)
    {
        for (auto patch : patches)
            engine.goToPatch (patch, true);
    }
    juce::String where() const
    {
        return juce::String (engine.getCurrentPatchIndex()) + "@" + juce::String (engine.getHistoryPosition());
    }

    // The on/off footswitch, then a press and release of the footswitch in navigation mode.
    void navigate (int footswitch)
    {
        engine.onFootswitch (10, true);
        ASSERT_EQ (engine.getMode(), ModeNavigation);
        press (footswitch);
    }

    juce::String displayed (int id)
    {
        auto* shown = engine.getDisplayedControl (id);
        return shown != nullptr ? shown->getLabel() : juce::String ("none");
    }

    //==============================================================================
    // The content as the document file holds it.
    juce::String writeDocument() const
    {
        juce::XmlElement root ("veltrino");
        root.setAttribute ("version", 1);
        root.addChildElement (engine.createNavigationXml().release());
        root.addChildElement (engine.createPatchesXml().release());
        return root.toString (juce::XmlElement::TextFormat().withoutHeader());
    }

    // Opens or merges a document text the way the application does: the content, then
    // playing from the first patch read.
    bool load (const juce::String& text, bool merging = false)
    {
        const auto root = juce::parseXML (text);
        const auto first = (juce::uint16) (merging ? engine.getNumPatches() : 0);

        if (! engine.loadDocumentContent (*root->getChildByName ("navigation"), *root->getChildByName ("patches"),
                                          merging))
            return false;

        engine.startPlaying (first);
        return true;
    }

    static juce::String document (const juce::String& patches, const juce::String& current = "0",
                                  const juce::String& navigation =
                                      R"(<navigation color="ff00ff00"><function type="1" control="10"/></navigation>)")
    {
        return R"(<veltrino version="1">)" + navigation + R"(<patches current=")" + current + "\">" + patches
               + "</patches></veltrino>";
    }

    static juce::String patch (const juce::String& name, const juce::String& items = {},
                               const juce::String& color = "ffe3e3e3")
    {
        return "<patch name=\"" + name + R"(" level="0" color=")" + color + R"(" comment="">)" + items + "</patch>";
    }

    // A plain control with one state holding these action elements.
    static juce::String plain (int id, const juce::String& actions = {}, const juce::String& color = "ffffffff")
    {
        return "<item id=\"" + juce::String (id) + R"(" label="" target="" color=")" + color
               + R"(" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state label="" color="ffffffff">)"
               + actions + "</state></item>";
    }

    static juce::String link (int id, int patchIndex, int controlId)
    {
        return "<item id=\"" + juce::String (id)
               + R"(" label="" target="" color="ffffffff" init_state="0" init_value="0" linked="1" link_patch=")"
               + juce::String (patchIndex) + R"(" link_control=")" + juce::String (controlId) + "\"/>";
    }

    static juce::String goTo (int patchIndex)
    {
        return R"(<goto comment="" patch=")" + juce::String (patchIndex) + "\"/>";
    }

    // The question asked n-th, with the definitions it lists.
    juce::String asked (size_t n) const { return prompts.prompts[n].text + "\n\n" + prompts.prompts[n].details; }

    static constexpr const char* alsoDeleted = "\n\nThe following definitions will be deleted too:\n\n";

    juce::StringArray texts() const
    {
        juce::StringArray result;

        for (const auto& prompt : prompts.prompts)
            result.add (prompt.text);

        return result;
    }
};
