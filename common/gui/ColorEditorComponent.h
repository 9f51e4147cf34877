#pragma once

#include "common/CColorsSetOwner.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class CColorPropertyComponent;

//==============================================================================
/** The swatch of a colour row: the row's colour over a checkerboard (so that a
    translucent colour shows it through), named by its red, green and blue as six
    hexadecimal digits.

    A click (ignored while disabled) offers a menu: the "Color library" submenu with
    "Add...", "Edit current...", "Delete current...", "Delete all..." and "Reset...",
    then every colour of the library in ascending order, the shown one ticked. Picking
    a colour gives it to the row. "Add..." lets the row's item follow the colour
    selector and adds the final colour to the library; "Edit current..." moves the
    items that had the shown colour along with the selector (never others: over a
    colour of the library or the default they wait, and join it only if the selector
    ends there) and replaces the colour in the library by the final one. The three
    others ask first (under the menu lock, through CPrompts) and then show the colour
    that the row's item has been given. Over the swatch the row's tooltip shows.

    Opening the selector changes nothing by itself, and its colours keep the shown
    colour's alpha (the selector cannot edit alpha). The library is read directly and
    changed only through its CColorsSetOwner. Main thread only; the menu, the selector
    and the questions run their own modal loops.
*/
class ColorEditorComponent : public juce::Component,
                             public juce::TooltipClient
{
public:
    /** The ids of the "Color library" entries. The colours are 1, 2, 3... in order,
        stepping over these ids: in a library of more than 32,000 colours the 32,001st
        is resetId + 1.
    */
    enum MenuId
    {
        addId = 0x7d01,
        editCurrentId,
        deleteCurrentId,
        deleteAllId,
        resetId
    };

    /** Shows `menu` at `target` and returns the id of the item chosen, 0 for none. */
    using MenuRun = std::function<int (const juce::PopupMenu& menu, juce::Component& target)>;

    /** Shows the colour selector starting at `start` and returns once the user closed it,
        having called `onChange` with every colour the user moved to, the last one included.
    */
    using SelectorRun = std::function<void (juce::Colour start, const std::function<void (juce::Colour)>& onChange)>;

    /** The swatch of `ownerRow`, for that library; opaque red until the row's first refresh. */
    ColorEditorComponent (CColorPropertyComponent& ownerRow, CColorsSetOwner& library, const ColorSet& set);

    ~ColorEditorComponent() override;

    //==============================================================================
    /** The colour shown, as 32-bit ARGB. */
    juce::uint32 getShownColour() const noexcept { return colour; }

    /** Shows another colour; does not repaint. */
    void setShownColour (juce::uint32 argb) noexcept { colour = argb; }

    /** The menu a click offers, as described above. */
    juce::PopupMenu createMenu() const;

    /** Does what the menu item with that id stands for; 0 (nothing chosen) and unknown
        ids do nothing.
    */
    void menuItemChosen (int itemId);

    /** Replaces how the menu and the selector's popup are shown, for every swatch (tests
        script them); null restores JUCE's modal popup at the swatch.
    */
    static void setMenuRun (MenuRun run);

    /** Replaces how the colour selector is run, for every swatch (tests script it);
        null restores JUCE's selector in a popup at the swatch.
    */
    static void setSelectorRun (SelectorRun run);

    //==============================================================================
    /** Shows the menu at the swatch and does what was chosen; nothing while disabled. */
    void mouseDown (const juce::MouseEvent& event) override;

    /** Grey frame, checkerboard under the colour, the six digits in black or white
        (faint while disabled).
    */
    void paint (juce::Graphics& g) override;

    /** The row's tooltip: the tooltip window asks only the component under the mouse. */
    juce::String getTooltip() override;

    //==============================================================================
    /** A colour of the library in the menu: a swatch and its six digits, ticked when
        it is the shown colour.
    */
    class ColorMenuCustomItem : public juce::PopupMenu::CustomComponent
    {
    public:
        ColorMenuCustomItem (juce::uint32 argb, bool isTicked);
        ~ColorMenuCustomItem() override;

        juce::uint32 getColour() const noexcept { return colour; }
        const juce::String& getText() const noexcept { return text; }
        bool isTicked() const noexcept { return ticked; }

        /** A normal menu item's size for the text, 40 pixels wider for the swatch. */
        void getIdealSize (int& idealWidth, int& idealHeight) override;

        void paint (juce::Graphics& g) override;

    private:
        const juce::uint32 colour;
        const juce::String text;
        const bool ticked;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColorMenuCustomItem)
    };

private:
    //==============================================================================
    void chooseColour (juce::uint32 argb);
    void addColour();
    void editCurrentColour();
    void runSelector();
    void selectorMoved (juce::Colour moved);
    bool mayBeCarriedByOthers (juce::uint32 argb) const;
    int showMenu (const juce::PopupMenu& menu);
    void showColourSelector (juce::Colour start, const std::function<void (juce::Colour)>& onChange);
    void askThen (const juce::String& title, const juce::String& question, const std::function<void()>& change);

    CColorPropertyComponent& ownerRow;
    CColorsSetOwner& library;
    const ColorSet& set;

    juce::uint32 colour = 0xffff0000;
    bool editingCurrent = false;
    juce::uint32 editedColour = 0, itemsColour = 0;    // while editing: the colour at the start, and on the items now

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColorEditorComponent)
};
