#include "common/CStMenuLock.h"
#include "common/gui/CColorPropertyComponent.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

#include <set>

#include <juce_gui_extra/juce_gui_extra.h>

namespace
{
    constexpr juce::uint32 white = 0xffffffff, red = 0xffff0000, green = 0xff00ff00, blue = 0xff0000ff;
    using Items = std::vector<juce::uint32>;

    juce::String hex (juce::uint32 argb)
    {
        return juce::String::toHexString ((int) argb);
    }

    // Items that are only colours, recoloured as the engine recolours its own; notes each change asked.
    class Library final : public CColorsSetOwner
    {
    public:
        void resetColors (const ColorSet*) override
        {
            calls.add ("reset");
            colours = { white, green };
            colours.insert (items.begin(), items.end());
        }
        juce::uint32 getDefaultColor (const ColorSet*) const override { return white; }
        void addColor (const ColorSet*, juce::uint32 c) override
        {
            calls.add ("add " + hex (c));
            colours.insert (c);
        }
        void removeAllColors (const ColorSet*) override
        {
            calls.add ("remove all");
            colours = { white };
            std::fill (items.begin(), items.end(), white);
        }

        void replaceColor (const ColorSet*, juce::uint32 from, juce::uint32 to) override
        {
            calls.add ("replace " + hex (from) + " " + hex (to));
            std::replace (items.begin(), items.end(), from, to);
        }

        void removeColor (const ColorSet*, juce::uint32 c) override
        {
            calls.add ("remove " + hex (c));
            if (c != white && colours.erase (c) > 0)
                std::replace (items.begin(), items.end(), c, white);
        }

        ColorSet colours;
        Items items;    // the first is the row's
        juce::StringArray calls;
    };

    class Row final : public CColorPropertyComponent
    {
    public:
        explicit Row (Library& l)
            : CColorPropertyComponent ("Color", l, l.colours),
              library (l)
        {
        }
        void setColour (juce::uint32 argb) override
        {
            library.items[0] = argb;
            ++stored;
        }
        juce::uint32 getColour() const override { return library.items[0]; }

        Library& library;
        int stored = 0;
    };

    juce::ColourSelector* findSelector (juce::Component& c)
    {
        if (auto* selector = dynamic_cast<juce::ColourSelector*> (&c))
            return selector;
        for (auto* child : c.getChildren())
            if (auto* selector = findSelector (*child))
                return selector;
        return nullptr;
    }
}

class CColorPropertyComponentTests : public ::testing::Test
{
protected:
    CColorPropertyComponentTests()
    {
        row.setSize (300, 25);
        swatch().setBounds (100, 0, 80, 25);
    }

    ~CColorPropertyComponentTests() override
    {
        ColorEditorComponent::setMenuRun (nullptr);
        ColorEditorComponent::setSelectorRun (nullptr);
    }

    ColorEditorComponent& swatch() { return row.getEditor(); }
    void choose (int id) { swatch().menuItemChosen (id); }

    void hold (ColorSet colours, Items items)
    {
        library.colours = std::move (colours);
        library.items = std::move (items);
        library.calls.clear();
        row.refresh();
    }

    /** The menu as "id:text", with " off" when disabled and " ticked"; "-" for a separator. */
    juce::String menu()
    {
        juce::StringArray entries;
        const auto built = swatch().createMenu();
        for (juce::PopupMenu::MenuItemIterator it (built, true); it.next();)
        {
            const auto& item = it.getItem();
            auto* colour = dynamic_cast<ColorEditorComponent::ColorMenuCustomItem*> (item.customComponent.get());
            entries.add (item.isSeparator
                             ? "-"
                             : juce::String (item.itemID) + ":" + item.text + (item.isEnabled ? "" : " off")
                                   + (colour != nullptr && colour->isTicked() ? " ticked" : ""));
        }
        return entries.joinIntoString ("|");
    }

    /** While open, the selector moves through the colours; `during` looks after each. */
    void selectorMovesThrough (
        Items colours, std::function<void()> during = [] {})
    {
        ColorEditorComponent::setSelectorRun (
            [colours, during] (juce::Colour, const std::function<void (juce::Colour)>& onChange) {
                for (const auto colour : colours)
                {
                    onChange (juce::Colour (colour));
                    during();
                }
            });
    }

    /** A click on the swatch, through its window. */
    void clickSwatch()
    {
        row.addToDesktop (0);
        row.setVisible (true);
        swatch().setMouseClickGrabsKeyboardFocus (false);

        for (const int buttons : { (int) juce::ModifierKeys::leftButtonModifier, 0 })
            row.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { 140.0f, 12.0f },
                                             juce::ModifierKeys (buttons), juce::MouseInputSource::defaultPressure,
                                             juce::MouseInputSource::defaultOrientation,
                                             juce::Time::currentTimeMillis());
    }

    /** True when a click on the swatch showed the menu. */
    bool clickShowsMenu()
    {
        bool shown = false;
        ColorEditorComponent::setMenuRun ([&shown] (const juce::PopupMenu&, juce::Component&) {
            shown = true;
            return 0;
        });
        clickSwatch();
        return shown;
    }

    Library library;
    FakePrompts prompts;
    Row row { library };
};

//==============================================================================
TEST_F (CColorPropertyComponentTests, TheMenuOffersTheLibraryWithTheShownColourTicked)
{
    // One colour, the default: nothing to delete.
    hold ({ white }, { white });
    EXPECT_EQ (menu(), "0:Color library|32001:Add...|32002:Edit current...|32003:Delete current... off"
                       "|32004:Delete all... off|32005:Reset...|-|1:FFFFFF ticked");

    // Ascending order; the default colour cannot be deleted, another can.
    hold ({ white, red, green }, { white });
    EXPECT_EQ (menu().fromFirstOccurrenceOf ("32003", true, false),
               "32003:Delete current... off|32004:Delete all...|32005:Reset...|-|1:00FF00|2:FF0000|3:FFFFFF ticked");
    hold ({ white, red, green }, { red });
    EXPECT_TRUE (menu().contains ("|32003:Delete current...|") && menu().contains ("|2:FF0000 ticked|"));

    // Choosing the ticked colour (or nothing) calls nothing; another is the row's.
    for (const auto id : { 2, 0, 4 })
        choose (id);
    EXPECT_EQ (row.stored, 0);
    choose (1);
    EXPECT_EQ (row.stored, 1);
    EXPECT_EQ (library.items[0], green);
    EXPECT_EQ (swatch().getShownColour(), green);
    EXPECT_TRUE (library.calls.isEmpty());
}

TEST_F (CColorPropertyComponentTests, EachLibraryQuestionAsksUnderTheMenuLockAndCancelChangesNothing)
{
    struct Case
    {
        int id;
        const char* title;
        const char* question;
        const char* call;
        juce::uint32 after;
    };
    const Case cases[] = {
        { ColorEditorComponent::deleteCurrentId, "Deleting colors...", "Do you really want to delete this color?",
          "remove ffff0000", white },
        { ColorEditorComponent::deleteAllId, "Deleting all colors...", "Do you really want to delete all colors?",
          "remove all", white },
        { ColorEditorComponent::resetId, "Resetting colors...", "Do you really want to reset colors?", "reset", red },
    };

    for (const auto& c : cases)
    {
        for (const auto answer : { false, true })
        {
            hold ({ white, red, green }, { red, green });
            row.stored = 0;
            prompts.prompts.clear();
            prompts.okCancelAnswers = { answer };
            choose (c.id);

            ASSERT_EQ (prompts.prompts.size(), 1u) << c.title;
            const auto& asked = prompts.prompts.front();
            EXPECT_EQ (asked.title + "|" + asked.text + "|" + asked.buttons.joinIntoString ("/") + "|"
                           + juce::String (asked.lockCount),
                       juce::String (c.title) + "|" + c.question + "|OK/Cancel|1");
            EXPECT_EQ (CStMenuLock::counter(), 0);

            // Cancel changes nothing; OK changes the library, then shows what the item got.
            EXPECT_EQ (library.calls.joinIntoString (","), answer ? c.call : "") << c.title;
            EXPECT_EQ (row.stored, answer ? 1 : 0) << c.title;
            EXPECT_EQ (swatch().getShownColour(), answer ? c.after : red) << c.title;
        }
    }
}

TEST_F (CColorPropertyComponentTests, AddLetsOnlyTheRowFollowTheSelectorAndEditCurrentItsColoursItems)
{
    // Add: the row's item follows, the library gets the colour where the selector ends.
    hold ({ white, red, green }, { red, red });
    selectorMovesThrough ({ blue, 0xff0000c0 }, [this] { EXPECT_EQ (library.items[1], red); });
    choose (ColorEditorComponent::addId);
    EXPECT_EQ (library.items, (Items { 0xff0000c0, red }));
    EXPECT_EQ (library.calls.joinIntoString (","), "add ff0000c0");
    selectorMovesThrough ({});
    choose (ColorEditorComponent::addId);    // closed without a move: added again, unchanged
    EXPECT_EQ (library.colours.size(), 4u);

    // Edit current: every item of the colour follows live; the library's colour is replaced.
    hold ({ white, red, green }, { red, red, green });
    selectorMovesThrough ({ blue }, [this] { EXPECT_EQ (library.items, (Items { blue, blue, green })); });
    choose (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.calls.joinIntoString (","), "replace ffff0000 ff0000ff,remove ffff0000,add ff0000ff");
    EXPECT_EQ (library.colours, (ColorSet { white, green, blue }));
    library.calls.clear();
    selectorMovesThrough ({ red, blue });    // back where it started: the library keeps it
    choose (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.calls.joinIntoString (","), "replace ff0000ff ffff0000,replace ffff0000 ff0000ff");
}

TEST_F (CColorPropertyComponentTests, EditCurrentNeverTakesAlongTheItemsOfAColourItPassesThrough)
{
    // Regression: the items of the default white, or of another colour of the library,
    // followed the edited colour once the selector had passed over theirs.
    hold ({ white, red, green }, { red, red, white, green });
    selectorMovesThrough ({ white, green, 0xff00ff01, white, blue }, [this] {
        EXPECT_EQ (library.items[2], white);
        EXPECT_EQ (library.items[3], green);
    });
    choose (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.items, (Items { blue, blue, white, green }));
    EXPECT_EQ (library.colours, (ColorSet { white, green, blue }));

    // Ending on a colour in use joins its items: that is the user's choice.
    selectorMovesThrough ({ green });
    choose (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.items, (Items { green, green, white, green }));
}

TEST_F (CColorPropertyComponentTests, TheSelectorChangesNothingByItselfAndKeepsTheAlpha)
{
    // Regression: presetting JUCE's selector reported the colour as changed, and opaque.
    hold ({ white, 0x80ff0000 }, { 0x80ff0000 });
    ModalTest::whenModal ([] (juce::Component& popup) {
        EXPECT_NE (findSelector (popup), nullptr);
        popup.exitModalState (0);
    });
    choose (ColorEditorComponent::addId);
    EXPECT_EQ (row.stored, 0);
    EXPECT_EQ (library.calls.joinIntoString (","), "add 80ff0000");
}

TEST_F (CColorPropertyComponentTests, TheSelectorsLastMoveIsNeverLost)
{
    // Regression: JUCE hands the selector's changes on asynchronously and drops one still
    // pending when the selector goes, as when its popup closes right after the last move.
    hold ({ white, 0x80ff0000 }, { 0x80ff0000 });
    ColorEditorComponent::setMenuRun ([] (const juce::PopupMenu& popup, juce::Component&) {
        juce::PopupMenu::MenuItemIterator it (popup);
        if (it.next())
            if (auto* selector = findSelector (*it.getItem().customComponent))
                selector->setCurrentColour (juce::Colour (blue));
        return 0;
    });
    choose (ColorEditorComponent::addId);
    EXPECT_EQ (library.items[0], 0x800000ffu);
    EXPECT_EQ (library.calls.joinIntoString (","), "add 800000ff");
}

TEST_F (CColorPropertyComponentTests, TheSwatchShowsTheColourOverChecksWithItsDigitsInContrast)
{
    const auto snapshot = [this] { return swatch().createComponentSnapshot (swatch().getLocalBounds()); };
    const auto darkest = [&snapshot] {
        const auto image = snapshot();
        float lowest = 1.0f;
        for (int i = 0; i < image.getWidth() * image.getHeight(); ++i)
            lowest = std::min (lowest, image.getPixelAt (i % image.getWidth(), i / image.getWidth()).getBrightness());
        return lowest;
    };

    // A quarter of black over the checks: both kinds show through, darkened; the digits are black.
    const juce::Colour quarterBlack (0x40000000);
    hold ({ quarterBlack.getARGB() }, { quarterBlack.getARGB() });
    const auto image = snapshot();
    EXPECT_EQ (image.getPixelAt (0, 0), juce::Colour (0xff808080));
    EXPECT_EQ (image.getPixelAt (3, 3), juce::Colour (0xffdddddd).overlaidWith (quarterBlack));
    EXPECT_EQ (image.getPixelAt (3, 13), juce::Colours::white.overlaidWith (quarterBlack));
    EXPECT_LT (darkest(), 0.1f);

    // Faint when disabled, and a disabled swatch ignores clicks.
    EXPECT_TRUE (clickShowsMenu());
    row.setEnabled (false);
    EXPECT_GT (darkest(), 0.4f);
    EXPECT_FALSE (clickShowsMenu());
}

TEST_F (CColorPropertyComponentTests, ALibraryOfAnySizeKeepsItsColoursApartFromItsCommands)
{
    // Regression: with 32,001 colours or more, the 32,001st had the id of "Add...".
    ColorSet many;
    for (juce::uint32 i = 0; i < 32005; ++i)
        many.insert (0xff000000 + i);
    hold (many, { 0xff000000 });
    selectorMovesThrough ({});

    for (const juce::uint32 wanted : { 0xff000000u + 32000, 0xff000000u + 32004, 0xff000000u + 31999 })
    {
        ColorEditorComponent::setMenuRun ([wanted] (const juce::PopupMenu& menu, juce::Component&) {
            std::set<int> ids;
            int chosen = 0;
            for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
            {
                const auto& item = it.getItem();
                EXPECT_TRUE (item.itemID == 0 || ids.insert (item.itemID).second) << item.itemID;
                if (auto* c = dynamic_cast<ColorEditorComponent::ColorMenuCustomItem*> (item.customComponent.get());
                    c != nullptr && c->getColour() == wanted)
                    chosen = item.itemID;
            }
            return chosen;
        });
        clickSwatch();
        EXPECT_EQ (hex (library.items[0]), hex (wanted));
    }

    EXPECT_TRUE (library.calls.isEmpty()) << library.calls.joinIntoString (",");
}

TEST_F (CColorPropertyComponentTests, TheSwatchShowsTheRowsTooltip)
{
    // The tooltip window asks only the component under the mouse.
    row.setTooltip ("The colour of the patch");
    row.setVisible (true);
    auto* client = dynamic_cast<juce::TooltipClient*> (row.getComponentAt (140, 12));
    ASSERT_NE (client, nullptr);
    EXPECT_EQ (client->getTooltip(), "The colour of the patch");
}
