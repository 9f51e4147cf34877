#include "app/editor/EPC_Choice.h"

#include "app/editor/EditorProperties.h"

EPC_Choice::EPC_Choice (EditorSelection& s, const juce::String& label, int id)
    : EditorProperty (s, id),
      juce::PropertyComponent (label)
{
    addAndMakeVisible (comboBox);
    comboBox.setEditableText (false);
    comboBox.addListener (this);
    initTooltip (*this);
}

EPC_Choice::~EPC_Choice()
{
    comboBox.removeListener (this);
}

void EPC_Choice::refresh()
{
    choices = EditorProperties::prepareChoices (selection, propertyId);
    comboBox.clear (juce::dontSendNotification);

    const auto& texts = choices.getTexts();

    for (int i = 0; i < texts.size(); ++i)
    {
        if (texts[i].isEmpty())
            comboBox.addSeparator();
        else
            comboBox.addItem (texts[i], i + 1);
    }

    comboBox.setSelectedId (getIndex() + 1, juce::dontSendNotification);
}

void EPC_Choice::setIndex (int index)
{
    // A write that asks the user first runs the message loop meanwhile, whose panel
    // rebuilds may delete this row.
    const juce::Component::SafePointer<EPC_Choice> self (this);
    auto& rowSelection = selection;
    const auto id = propertyId;

    if (EditorProperties::setValue (rowSelection, id, valueOfIndex (index)))
        EditorProperties::tell (rowSelection, id);
    else if (self != nullptr)
        refresh();
}

int EPC_Choice::getIndex() const
{
    const auto stored = EditorProperties::getValue (selection, propertyId);
    return stored.has_value() ? indexOfValue (*stored) : -1;
}

void EPC_Choice::comboBoxChanged (juce::ComboBox*)
{
    if (const auto index = comboBox.getSelectedId() - 1; index >= 0 && index != getIndex())
        setIndex (index);
}
