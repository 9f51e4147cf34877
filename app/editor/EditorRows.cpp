#include "app/editor/EditorRows.h"

#include "app/editor/EPC_Choice.h"
#include "app/editor/EPC_Color.h"
#include "app/editor/EPC_Text.h"

std::unique_ptr<juce::PropertyComponent> EditorRows::create (EditorSelection& selection, const VlPropertyRow& row)
{
    const auto id = (int) row.id;

    switch (row.kind)
    {
        case VlPropertyRow::Kind::text:
            return std::make_unique<EPC_Text> (selection, row.label, row.maxChars, row.multiLineHeight, id);
        case VlPropertyRow::Kind::choice: return std::make_unique<EPC_Choice> (selection, row.label, id);
        case VlPropertyRow::Kind::color: return std::make_unique<EPC_Color> (selection, row.label, id);
    }

    return nullptr;
}

void EditorRows::addToPanel (juce::PropertyPanel& panel, std::vector<std::unique_ptr<juce::PropertyComponent>> rows)
{
    juce::Array<juce::PropertyComponent*> taken;

    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        if (*row != nullptr)
            (*row)->refresh();

    for (auto& row : rows)
        if (row != nullptr)
            taken.add (row.release());

    panel.addProperties (taken);
}

void EditorRows::addToPanel (juce::PropertyPanel& panel, EditorSelection& selection, const VlPropertyRows& rows)
{
    std::vector<std::unique_ptr<juce::PropertyComponent>> made;

    for (const auto& row : rows)
        made.push_back (create (selection, row));

    addToPanel (panel, std::move (made));
}
