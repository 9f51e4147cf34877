#include "common/CColorPropertyComponent.h"
#include "common/CStMenuLock.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

#include <juce_gui_extra/juce_gui_extra.h>

namespace
{
    juce::String hex (juce::uint32 argb)  { return juce::String::toHexString ((int) argb); }

    constexpr juce::uint32 white = 0xffffffff, red = 0xffff0000, green = 0xff00ff00, blue = 0xff0000ff;

    // A library whose items are only colours; it recolours them as the engine does its own,
    // and notes every change asked of it.
    class Library final : public CColorsSetOwner
    {
    public:
        void resetColors (const ColorSet*) override
        {
            calls.add ("reset");
            colours = { white, green };
            colours.insert (items.begin(), items.end());
        }

        juce::uint32 getDefaultColor (const ColorSet*) const override  { return white; }

        void addColor (const ColorSet*, juce::uint32 colour) override
        {
            calls.add ("add " + hex (colour));
            colours.insert (colour);
        }

        void replaceColor (const ColorSet*, juce::uint32 oldColour, juce::uint32 newColour) override
        {
            calls.add ("replace " + hex (oldColour) + " " + hex (newColour));
            std::replace (items.begin(), items.end(), oldColour, newColour);
        }

        void removeColor (const ColorSet*, juce::uint32 colour) override
        {
            calls.add ("remove " + hex (colour));

            if (colour != white && colours.erase (colour) > 0)
                std::replace (items.begin(), items.end(), colour, white);
        }

        void removeAllColors (const ColorSet*) override
        {
            calls.add ("remove all");
            colours = { white };
            std::fill (items.begin(), items.end(), white);
        }

        ColorSet colours;
        std::vector<juce::uint32> items;    // the first is the row's
        juce::StringArray calls;
    };

    class Row final : public CColorPropertyComponent
    {
    public:
        explicit Row (Library& l) : CColorPropertyComponent ("Color", l, l.colours), library (l) {}

        void setColour (juce::uint32 argb) override  { library.items[0] = argb; ++stored; }
        juce::uint32 getColour() const override      { return library.items[0]; }

        Library& library;
        int stored = 0;
    };

    template <typename Type>
    Type* findIn (juce::Component& component)
    {
        if (auto* found = dynamic_cast<Type*> (&component))
            return found;

        for (auto* child : component.getChildren())
            if (auto* found = findIn<Type> (*child))
                return found;

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

    ColorEditorComponent& swatch()  { return row.getEditor(); }

    /** The library holds those colours; its items have those, the row's first. */
    void hold (ColorSet colours, std::vector<juce::uint32> items)
    {
        library.colours = std::move (colours);
        library.items = std::move (items);
        library.calls.clear();
        row.refresh();
    }

    /** The menu as "id:text", "-" for a separator, with " off" for disabled and " ticked". */
    juce::StringArray menu()
    {
        juce::StringArray entries;
        const auto built = swatch().createMenu();

        for (juce::PopupMenu::MenuItemIterator it (built, true); it.next();)
        {
            const auto& item = it.getItem();
            auto* colour = dynamic_cast<ColorEditorComponent::ColorMenuCustomItem*> (item.customComponent.get());
            entries.add (item.isSeparator ? "-"
                                          : juce::String (item.itemID) + ":" + item.text + (item.isEnabled ? "" : " off")
                                                + (colour != nullptr && colour->isTicked() ? " ticked" : ""));
        }

        return entries;
    }

    /** While the selector is open it moves through those colours; `during` sees each step. */
    void selectorMovesThrough (std::vector<juce::uint32> colours, std::function<void()> during = {})
    {
        ColorEditorComponent::setSelectorRun ([colours, during] (juce::Colour, const std::function<void (juce::Colour)>& onChange)
        {
            for (const auto colour : colours)
            {
                onChange (juce::Colour (colour));

                if (during != nullptr)
                    during();
            }
        });
    }

    /** True when a click on the swatch showed its menu (nothing is chosen). */
    bool clickShowsMenu()
    {
        if (! row.isOnDesktop())
        {
            row.addToDesktop (0);
            row.setVisible (true);
            swatch().setMouseClickGrabsKeyboardFocus (false);
        }

        bool shown = false;
        ColorEditorComponent::setMenuRun ([&shown] (const juce::PopupMenu&, juce::Component&) { shown = true; return 0; });

        for (const auto down : { true, false })
            row.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { 140.0f, 12.0f },
                                             down ? juce::ModifierKeys::leftButtonModifier : juce::ModifierKeys(),
                                             juce::MouseInputSource::defaultPressure,
                                             juce::MouseInputSource::defaultOrientation, juce::Time::currentTimeMillis());

        ColorEditorComponent::setMenuRun (nullptr);
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
    EXPECT_EQ (menu(), juce::StringArray ({ "0:Color library", "32001:Add...", "32002:Edit current...",
                                            "32003:Delete current... off", "32004:Delete all... off", "32005:Reset...",
                                            "-", "1:FFFFFF ticked" }));

    // Ascending order; the default colour cannot be deleted, another can.
    hold ({ white, red, green }, { white });
    EXPECT_EQ (menu().joinIntoString ("|"), "0:Color library|32001:Add...|32002:Edit current...|32003:Delete current... off"
                                            "|32004:Delete all...|32005:Reset...|-|1:00FF00|2:FF0000|3:FFFFFF ticked");
    hold ({ white, red, green }, { red });
    EXPECT_EQ (menu()[3], "32003:Delete current...");
    EXPECT_EQ (menu()[8], "2:FF0000 ticked");
}

TEST_F (CColorPropertyComponentTests, ChoosingAColourGivesItToTheRowAndTheTickedOneCallsNothing)
{
    hold ({ white, red, green }, { red });
    swatch().menuItemChosen (2);
    swatch().menuItemChosen (0);
    swatch().menuItemChosen (4);
    EXPECT_EQ (row.stored, 0);
    swatch().menuItemChosen (1);
    EXPECT_EQ (row.stored, 1);
    EXPECT_EQ (library.items[0], green);
    EXPECT_EQ (swatch().getShownColour(), green);
    EXPECT_TRUE (library.calls.isEmpty());
}

TEST_F (CColorPropertyComponentTests, EachLibraryQuestionAsksUnderTheMenuLockAndCancelChangesNothing)
{
    struct Case { int id; const char* title; const char* question; const char* call; juce::uint32 after; };
    const Case cases[] = {
        { ColorEditorComponent::deleteCurrentId, "Deleting colors...", "Do you really want to delete this color?", "remove ffff0000", white },
        { ColorEditorComponent::deleteAllId, "Deleting all colors...", "Do you really want to delete all colors?", "remove all", white },
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
            swatch().menuItemChosen (c.id);

            ASSERT_EQ (prompts.prompts.size(), 1u) << c.title;
            const auto& asked = prompts.prompts.front();
            EXPECT_EQ (asked.title, c.title);
            EXPECT_EQ (asked.text, c.question);
            EXPECT_EQ (asked.buttons, juce::StringArray ({ "OK", "Cancel" }));
            EXPECT_EQ (asked.lockCount, 1);
            EXPECT_EQ (CStMenuLock::counter(), 0);

            // Cancel changes nothing; OK changes the library, then shows what the item got.
            EXPECT_EQ (library.calls, answer ? juce::StringArray (c.call) : juce::StringArray()) << c.title;
            EXPECT_EQ (row.stored, answer ? 1 : 0) << c.title;
            EXPECT_EQ (swatch().getShownColour(), answer ? c.after : red) << c.title;
            EXPECT_EQ (library.items[0], answer ? c.after : red) << c.title;
        }
    }
}

TEST_F (CColorPropertyComponentTests, AddLetsOnlyTheRowFollowTheSelectorAndAddsWhereItEnds)
{
    hold ({ white, red, green }, { red, red });
    selectorMovesThrough ({ blue, 0xff0000c0 }, [this]
    {
        EXPECT_EQ (library.items[1], red);
        EXPECT_TRUE (library.calls.isEmpty());
    });
    swatch().menuItemChosen (ColorEditorComponent::addId);
    EXPECT_EQ (library.items, (std::vector<juce::uint32> { 0xff0000c0, red }));
    EXPECT_EQ (row.stored, 2);
    EXPECT_EQ (library.calls, juce::StringArray ("add ff0000c0"));

    // Closed without a move, the shown colour is added again, which changes nothing.
    selectorMovesThrough ({});
    swatch().menuItemChosen (ColorEditorComponent::addId);
    EXPECT_EQ (library.calls[1], "add ff0000c0");
    EXPECT_EQ (library.colours.size(), 4u);
}

TEST_F (CColorPropertyComponentTests, EditCurrentMovesTheItemsOfTheColourLiveAndReplacesItInTheLibrary)
{
    hold ({ white, red, green }, { red, red, green });
    selectorMovesThrough ({ blue });
    swatch().menuItemChosen (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.items, (std::vector<juce::uint32> { blue, blue, green }));
    EXPECT_EQ (library.calls, juce::StringArray ({ "replace ffff0000 ff0000ff", "remove ffff0000", "add ff0000ff" }));
    EXPECT_EQ (library.colours, (ColorSet { white, green, blue }));

    // Back where it started: the library keeps the colour.
    library.calls.clear();
    selectorMovesThrough ({ red, blue });
    swatch().menuItemChosen (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.calls, juce::StringArray ({ "replace ff0000ff ffff0000", "replace ffff0000 ff0000ff" }));
}

TEST_F (CColorPropertyComponentTests, EditCurrentNeverTakesAlongTheItemsOfAColourItPassesThrough)
{
    // Regression: the items of the default white, and of another colour of the library,
    // followed the edited colour once the selector had passed over theirs.
    hold ({ white, red, green }, { red, red, white, green });
    selectorMovesThrough ({ white, green, 0xff00ff01, white, blue }, [this]
    {
        EXPECT_EQ (library.items[2], white);
        EXPECT_EQ (library.items[3], green);
    });
    swatch().menuItemChosen (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.items, (std::vector<juce::uint32> { blue, blue, white, green }));
    EXPECT_EQ (library.colours, (ColorSet { white, green, blue }));

    // Ending on a colour in use joins its items: that is the user's choice.
    selectorMovesThrough ({ green });
    swatch().menuItemChosen (ColorEditorComponent::editCurrentId);
    EXPECT_EQ (library.items, (std::vector<juce::uint32> { green, green, white, green }));
    EXPECT_EQ (library.colours, (ColorSet { white, green }));
}

TEST_F (CColorPropertyComponentTests, TheSelectorChangesNothingByItselfAndKeepsTheAlpha)
{
    // Regression: presetting JUCE's selector reported the colour as changed, and opaque.
    const juce::uint32 translucentRed = 0x80ff0000;
    hold ({ white, translucentRed }, { translucentRed });
    ModalTest::whenModal ([] (juce::Component& popup)
    {
        EXPECT_NE (findIn<juce::ColourSelector> (popup), nullptr);
        popup.exitModalState (0);
    });
    swatch().menuItemChosen (ColorEditorComponent::addId);
    EXPECT_EQ (row.stored, 0);
    EXPECT_EQ (library.items[0], translucentRed);
    EXPECT_EQ (library.calls, juce::StringArray ("add 80ff0000"));
}

TEST_F (CColorPropertyComponentTests, TheSelectorsLastMoveIsNeverLost)
{
    // Regression: JUCE hands the selector's changes on asynchronously and drops one still
    // pending when the selector goes, as when its popup closes right after the last move.
    hold ({ white, 0x80ff0000 }, { 0x80ff0000 });
    ColorEditorComponent::setMenuRun ([] (const juce::PopupMenu& popup, juce::Component&)
    {
        juce::PopupMenu::MenuItemIterator it (popup);
        EXPECT_TRUE (it.next());
        auto* selector = findIn<juce::ColourSelector> (*it.getItem().customComponent);
        EXPECT_NE (selector, nullptr);

        if (selector != nullptr)
            selector->setCurrentColour (juce::Colour (blue));

        return 0;
    });
    swatch().menuItemChosen (ColorEditorComponent::addId);
    EXPECT_EQ (library.items[0], 0x800000ffu);
    EXPECT_EQ (library.calls, juce::StringArray ("add 800000ff"));
}

TEST_F (CColorPropertyComponentTests, TheSwatchShowsTheColourOverChecksWithItsDigitsInContrast)
{
    const auto darkest = [this]
    {
        const auto image = swatch().createComponentSnapshot (swatch().getLocalBounds());
        float lowest = 1.0f;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                lowest = std::min (lowest, image.getPixelAt (x, y).getBrightness());

        return lowest;
    };

    // A quarter of black over the checks: both kinds show through, darkened; the digits are black.
    hold ({ 0x40000000 }, { 0x40000000 });
    const auto image = swatch().createComponentSnapshot (swatch().getLocalBounds());
    const auto overlay = juce::Colour (0x40000000);
    EXPECT_EQ (image.getPixelAt (0, 0), juce::Colour (0xff808080));
    const juce::Array<juce::Colour> checks { juce::Colour (0xffdddddd).overlaidWith (overlay),
                                             juce::Colours::white.overlaidWith (overlay) };
    EXPECT_TRUE (checks.contains (image.getPixelAt (3, 3)));
    EXPECT_TRUE (checks.contains (image.getPixelAt (3, 13)));
    EXPECT_NE (image.getPixelAt (3, 3), image.getPixelAt (3, 13));
    EXPECT_LT (darkest(), 0.1f);

    // Faint when disabled, and a disabled swatch ignores clicks.
    EXPECT_TRUE (clickShowsMenu());
    row.setEnabled (false);
    EXPECT_GT (darkest(), 0.4f);
    EXPECT_FALSE (clickShowsMenu());
}
