#include "engine/VlDocumentStage.h"
#include "engine/VlamCCFixed.h"

#include <gtest/gtest.h>

// Reading the navigation and patches elements apart from the engine: encodings,
// names in any case, and every attribute the writer always writes being required.
class VlDocumentStageTests : public ::testing::Test
{
protected:
    VlDocumentStage stage;

    static constexpr const char* item =
        R"(<item id="3" label="L" target="T" color="ff00ff00" init_state="1" init_value="64" linked="0" link_patch="0" link_control="-1">)";
    static constexpr const char* state = R"(<state label="S" color="ff0000">)";

    static juce::String patches (const juce::String& body) { return R"(<patches current="0">)" + body + "</patches>"; }
    static juce::String onePatch (const juce::String& items)
    {
        return R"(<patch name="N" level="1" color="ffe3e3e3" comment="C">)" + items + "</patch>";
    }
    bool read (const juce::String& text) { return stage.readPatches (*juce::parseXML (text), false, 0); }
};

TEST_F (VlDocumentStageTests, ReadsEveryFieldWithNamesInAnyCaseAndNumbersCutToTheirWidth)
{
    ASSERT_TRUE (read (R"(<patches CURRENT="65537">
        <PATCH Name="Solo &amp; more" LEVEL="300" color="12FFe3e3e3" comment="x">
          <Item ID="12" label="Vol" target="amp" color="#ff-00-ff-00" init_state="257" init_value="-1" linked="2" link_patch="0" link_control="-1">
            <STATE label="only" Color="ff0000">text between<cc comment="" device="D" channel="2" controller="7" min_value="0" max_value="127"/><note/></STATE>
          </Item>
          <other/>
        </PATCH>
        <something/>
      </patches>)"));
    EXPECT_EQ (stage.getCurrent(), std::optional<juce::uint16> (1));
    ASSERT_EQ (stage.getPatches().size(), 1u);
    const auto& patch = *stage.getPatches()[0];
    EXPECT_EQ (patch.getName(), "Solo & more");
    EXPECT_EQ (patch.getLevel(), 44);
    EXPECT_EQ (patch.getColor(), 0xffe3e3e3u);    // more than eight digits: the last eight
    auto* pedal = patch.getControl (12);
    ASSERT_NE (pedal, nullptr);
    EXPECT_EQ (pedal->getOwnColor(), 0xff00ff00u);    // non-digits skipped
    EXPECT_EQ (pedal->getInitState(), 1);
    EXPECT_EQ (pedal->getInitValue(), 255);
    EXPECT_FALSE (pedal->isLinked());    // only "1" is true
    ASSERT_EQ (pedal->getStateCount(), 1);
    EXPECT_EQ (pedal->getState (0)->getColor(), 0x00ff0000u);

    // Under a pedal "cc" is the continuous kind and "note" names nothing.
    ASSERT_EQ (pedal->getState (0)->getActions().size(), 1u);
    EXPECT_EQ (pedal->getState (0)->getActions()[0]->getTypeName(), "midi control change");
    EXPECT_EQ (dynamic_cast<VlamCCFixed*> (pedal->getState (0)->getActions()[0].get()), nullptr);

    // Functions are handed on as written, 0 for what is absent.
    ASSERT_TRUE (stage.readNavigation (*juce::parseXML (
        R"(<Navigation COLOR="ff00ff">text<FUNCTION TYPE="6" control="3"/><function control="4"/><function type="2"/></Navigation>)")));
    EXPECT_EQ (stage.getNavigationColor(), 0x00ff00ffu);
    EXPECT_EQ (stage.getNavigationFunctions(), (std::vector<std::pair<int, int>> { { 6, 3 }, { 0, 4 }, { 2, 0 } }));
}

TEST_F (VlDocumentStageTests, EveryAttributeTheWriterWritesIsRequiredAndAnItemIdIsUniqueFrom1To12)
{
    const auto valid = patches (onePatch (
        juce::String (item) + state
        + R"(<note comment="" device="D" channel="1" stage="1" number="60" velocity="100"/></state></item>)"));
    ASSERT_TRUE (read (valid));
    for (auto attribute : { "current", "name", "level", "comment", "target", "init_state", "init_value", "linked",
                            "link_patch", "link_control", "number", "device" })
    {
        const auto broken =
            valid.replace (juce::String (" ") + attribute + "=", " x_" + juce::String (attribute) + "=");
        ASSERT_NE (broken, valid) << attribute;
        EXPECT_FALSE (VlDocumentStage().readPatches (*juce::parseXML (broken), false, 0)) << attribute;
    }

    // Names that several elements carry, one element at a time.
    for (auto [owner, attribute] : { std::pair { "<patch ", " color=" },
                                     { "<item ", " color=" },
                                     { "<state ", " color=" },
                                     { "<item ", " label=" },
                                     { "<state ", " label=" } })
    {
        const auto at = valid.indexOf (owner);
        const auto broken = valid.substring (0, at) + valid.substring (at).replaceFirstOccurrenceOf (attribute, " x=");
        EXPECT_FALSE (VlDocumentStage().readPatches (*juce::parseXML (broken), false, 0)) << owner << attribute;
    }

    // An item needs an id from 1 to 12 not yet used in its patch.
    const juce::String rest =
        R"( label="" target="" color="0" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"/>)";
    for (auto ids : { "13", "0", "-1", "x", "" })
    {
        const auto attribute = juce::String (ids).isEmpty() ? juce::String() : " id=\"" + juce::String (ids) + "\"";
        EXPECT_FALSE (
            VlDocumentStage().readPatches (*juce::parseXML (patches (onePatch ("<item" + attribute + rest))), false, 0))
            << ids;
    }
    EXPECT_FALSE (read (patches (onePatch (R"(<item id="4")" + rest + R"(<item id="4")" + rest))));
    EXPECT_TRUE (VlDocumentStage().readPatches (
        *juce::parseXML (patches (onePatch (R"(<item id="1")" + rest + R"(<item id="12")" + rest))), false, 0));
}
