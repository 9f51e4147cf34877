#include "common/gui/ColorEditorComponent.h"

#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "common/gui/CColorPropertyComponent.h"
#include "common/gui/CLookAndFeel.h"

#include <juce_gui_extra/juce_gui_extra.h>

namespace
{
    ColorEditorComponent::MenuRun menuRun;
    ColorEditorComponent::SelectorRun selectorRun;

    juce::String sixDigits (juce::uint32 argb)
    {
        return juce::Colour (argb).toDisplayString (false);
    }

    // The colours are numbered 1, 2, 3... past the commands' ids, so that a library of
    // any size keeps every colour apart from "Add..." and the rest.
    constexpr int firstCommandId = ColorEditorComponent::addId;
    constexpr int numCommands = ColorEditorComponent::resetId - ColorEditorComponent::addId + 1;

    int itemIdOfColour (size_t index)
    {
        const auto id = (int) index + 1;
        return id < firstCommandId ? id : id + numCommands;
    }

    // -1 for no colour: nothing chosen, or a command.
    int colourOfItemId (int itemId)
    {
        if (itemId >= 1 && itemId < firstCommandId)
            return itemId - 1;

        return itemId >= firstCommandId + numCommands ? itemId - numCommands - 1 : -1;
    }

    // Hands each change of the selector on, as the colour it shows then.
    class SelectorListener final : public juce::ChangeListener
    {
    public:
        SelectorListener (juce::ColourSelector& s, const std::function<void (juce::Colour)>& callback)
            : selector (s),
              onChange (callback)
        {
            selector.addChangeListener (this);
        }

        ~SelectorListener() override { selector.removeChangeListener (this); }

        void changeListenerCallback (juce::ChangeBroadcaster*) override { onChange (selector.getCurrentColour()); }

    private:
        juce::ColourSelector& selector;
        const std::function<void (juce::Colour)>& onChange;
    };
}

ColorEditorComponent::ColorEditorComponent (CColorPropertyComponent& row, CColorsSetOwner& owner,
                                            const ColorSet& colours)
    : ownerRow (row),
      library (owner),
      set (colours)
{
}

ColorEditorComponent::~ColorEditorComponent() = default;

void ColorEditorComponent::setMenuRun (MenuRun run)
{
    menuRun = std::move (run);
}

void ColorEditorComponent::setSelectorRun (SelectorRun run)
{
    selectorRun = std::move (run);
}

//==============================================================================
juce::PopupMenu ColorEditorComponent::createMenu() const
{
    const auto several = set.size() > 1;

    juce::PopupMenu libraryMenu;
    libraryMenu.addItem (addId, "Add...");
    libraryMenu.addItem (editCurrentId, "Edit current...");
    libraryMenu.addItem (deleteCurrentId, "Delete current...", several && colour != library.getDefaultColor (&set));
    libraryMenu.addItem (deleteAllId, "Delete all...", several);
    libraryMenu.addItem (resetId, "Reset...");

    juce::PopupMenu menu;
    menu.addSubMenu ("Color library", libraryMenu);
    menu.addSeparator();

    size_t index = 0;

    for (const auto argb : set)
        menu.addCustomItem (itemIdOfColour (index++), std::make_unique<ColorMenuCustomItem> (argb, argb == colour),
                            nullptr, sixDigits (argb));

    return menu;
}

void ColorEditorComponent::menuItemChosen (int itemId)
{
    switch (itemId)
    {
        case addId: addColour(); return;

        case editCurrentId: editCurrentColour(); return;

        case deleteCurrentId:
            askThen ("Deleting colors...", "Do you really want to delete this color?",
                     [this] { library.removeColor (&set, colour); });
            return;

        case deleteAllId:
            askThen ("Deleting all colors...", "Do you really want to delete all colors?",
                     [this] { library.removeAllColors (&set); });
            return;

        case resetId:
            askThen ("Resetting colors...", "Do you really want to reset colors?",
                     [this] { library.resetColors (&set); });
            return;

        default: break;
    }

    if (const auto index = colourOfItemId (itemId); index >= 0 && (size_t) index < set.size())
        chooseColour (*std::next (set.begin(), index));
}

void ColorEditorComponent::mouseDown (const juce::MouseEvent&)
{
    if (! isEnabled())
        return;

    menuItemChosen (showMenu (createMenu()));
}

int ColorEditorComponent::showMenu (const juce::PopupMenu& menu)
{
    if (menuRun != nullptr)
        return menuRun (menu, *this);

    return juce::PopupMenu (menu).showMenu (
        juce::PopupMenu::Options().withTargetComponent (this).withMinimumWidth (getWidth()));
}

//==============================================================================
void ColorEditorComponent::chooseColour (juce::uint32 argb)
{
    if (argb == colour)
        return;

    colour = argb;
    ownerRow.setColour (colour);
    repaint();
}

void ColorEditorComponent::addColour()
{
    const SafePointer<ColorEditorComponent> alive (this);
    editingCurrent = false;
    runSelector();

    if (alive != nullptr)
        library.addColor (&set, colour);
}

void ColorEditorComponent::editCurrentColour()
{
    const SafePointer<ColorEditorComponent> alive (this);
    editedColour = itemsColour = colour;
    editingCurrent = true;
    runSelector();

    if (alive == nullptr)
        return;

    editingCurrent = false;

    // The items may have waited on the way (see selectorMoved); once the selector is closed
    // they may join any colour.
    if (colour != itemsColour)
    {
        library.replaceColor (&set, itemsColour, colour);
        ownerRow.setColour (colour);
    }

    if (colour != editedColour)
    {
        library.removeColor (&set, editedColour);
        library.addColor (&set, colour);
    }
}

void ColorEditorComponent::runSelector()
{
    const SafePointer<ColorEditorComponent> alive (this);
    const std::function<void (juce::Colour)> onChange = [alive] (juce::Colour moved) {
        if (alive != nullptr)
            alive->selectorMoved (moved);
    };

    if (selectorRun != nullptr)
        selectorRun (juce::Colour (colour), onChange);
    else
        showColourSelector (juce::Colour (colour), onChange);
}

void ColorEditorComponent::selectorMoved (juce::Colour moved)
{
    // The selector cannot edit alpha: a translucent colour stays as translucent.
    const auto next = moved.withAlpha (juce::Colour (colour).getAlpha()).getARGB();

    if (next == colour)
        return;

    colour = next;
    repaint();

    if (! editingCurrent)
    {
        ownerRow.setColour (colour);
        return;
    }

    // Items are told apart only by their colour: on a colour that other items carry, the
    // edited ones would be taken for those from then on (and take them along). They wait
    // on their last colour instead until the selector moves on or closes.
    if (colour == itemsColour || mayBeCarriedByOthers (colour))
        return;

    library.replaceColor (&set, itemsColour, colour);
    itemsColour = colour;
    ownerRow.setColour (colour);
}

bool ColorEditorComponent::mayBeCarriedByOthers (juce::uint32 argb) const
{
    // Every item has a colour of its library, or the default one that deleting gives.
    return argb != editedColour && (set.count (argb) != 0 || argb == library.getDefaultColor (&set));
}

void ColorEditorComponent::showColourSelector (juce::Colour start, const std::function<void (juce::Colour)>& onChange)
{
    juce::ColourSelector selector (juce::ColourSelector::showSliders | juce::ColourSelector::showColourspace, 4, 7);

    const SelectorListener listener (selector, onChange);

    // Presetting is no change (JUCE would report it, and a translucent colour as opaque).
    selector.setCurrentColour (start, juce::dontSendNotification);

    juce::PopupMenu popup;
    popup.addCustomItem (1111, selector, 300, 400, false);
    showMenu (popup);

    // JUCE reports the selector's changes asynchronously and drops one still pending when
    // the selector goes: the last move is delivered now.
    selector.dispatchPendingMessages();
}

void ColorEditorComponent::askThen (const juce::String& title, const juce::String& question,
                                    const std::function<void()>& change)
{
    const SafePointer<ColorEditorComponent> alive (this);
    bool confirmed = false;

    {
        const CStMenuLock lock;
        confirmed = CPrompts::get().askOkCancel (CPrompts::Icon::question, title, question, "OK", "Cancel");
    }

    if (! confirmed || alive == nullptr)
        return;

    change();
    colour = ownerRow.getColour();
    ownerRow.setColour (colour);
    repaint();
}

//==============================================================================
void ColorEditorComponent::paint (juce::Graphics& g)
{
    const juce::Colour shown (colour);

    g.fillAll (juce::Colour (0xff808080));
    g.fillCheckerBoard (getLocalBounds().reduced (2).toFloat(), 10.0f, 10.0f,
                        juce::Colour (0xffdddddd).overlaidWith (shown), juce::Colours::white.overlaidWith (shown));

    const auto text = CLookAndFeel::contrastingBySum (juce::Colours::white.overlaidWith (shown), 1.0f);
    g.setColour (isEnabled() ? text : text.withMultipliedAlpha (0.3f));
    g.setFont (juce::Font ((float) getHeight() * 0.6f, juce::Font::bold));
    g.drawFittedText (sixDigits (colour), 2, 1, getWidth() - 4, getHeight() - 1, juce::Justification::centred, 1, 0.7f);
}

juce::String ColorEditorComponent::getTooltip()
{
    return ownerRow.getTooltip();
}

//==============================================================================
ColorEditorComponent::ColorMenuCustomItem::ColorMenuCustomItem (juce::uint32 argb, bool isTicked)
    : juce::PopupMenu::CustomComponent (true),
      colour (argb),
      text (sixDigits (argb)),
      ticked (isTicked)
{
}

ColorEditorComponent::ColorMenuCustomItem::~ColorMenuCustomItem() = default;

void ColorEditorComponent::ColorMenuCustomItem::getIdealSize (int& idealWidth, int& idealHeight)
{
    getLookAndFeel().getIdealPopupMenuItemSize (text, false, -1, idealWidth, idealHeight);
    idealWidth += 40;
}

void ColorEditorComponent::ColorMenuCustomItem::paint (juce::Graphics& g)
{
    auto& look = getLookAndFeel();
    const auto w = getWidth(), h = getHeight();
    const auto leftBorder = 5 * h / 4;
    const auto highlighted = isItemHighlighted() && isEnabled();

    if (highlighted)
    {
        g.setColour (look.findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (0, 1, w, h - 2);
    }

    g.setColour (juce::Colour (colour));
    g.fillRect (leftBorder, 4, 40, h - 8);

    auto font = look.getPopupMenuFont();

    if (font.getHeight() > (float) h / 1.3f)
        font.setHeight ((float) h / 1.3f);

    g.setColour (
        look.findColour (highlighted ? juce::PopupMenu::highlightedTextColourId : juce::PopupMenu::textColourId));
    g.setFont (font);
    g.drawFittedText (text, leftBorder + 44, 0, w - leftBorder - 48, h, juce::Justification::centredLeft, 1, 0.7f);

    if (ticked)
    {
        auto tick = look.getTickShape (1.0f);
        tick.applyTransform (tick.getTransformToScaleToFit (2.0f, (float) h * 0.5f - font.getAscent() * 0.5f,
                                                            (float) (leftBorder - 4), font.getAscent(), true));
        g.fillPath (tick);
    }
}
