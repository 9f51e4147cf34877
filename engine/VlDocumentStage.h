#pragma once

#include "common/CColorsSetOwner.h"
#include "engine/VlPatch.h"

#include <optional>
#include <utility>
#include <vector>

//==============================================================================
/** A document's navigation settings and patches read apart from the engine, so that
    a document that turns out to be invalid half-way leaves the engine untouched: the
    engine takes the content over only when everything was read.

    Patch references read here stay pending (indexes, never dereferenced) until the
    engine's load check resolves them against its own list. Main thread only.
*/
class VlDocumentStage
{
public:
    /** Nothing read yet. */
    VlDocumentStage();

    /** Deletes the patches that were not taken. */
    ~VlDocumentStage();

    //==============================================================================
    /** Reads a "navigation" element: "color" (required; false without it), then every
        "function" child's "type" and "control" (0 when absent), in document order.
    */
    bool readNavigation (const juce::XmlElement& navigation);

    /** Reads a "patches" element: "current" unless merging (required then), and one
        patch per "patch" child with its patch indexes moved behind `patchOffset`.
        False at the first patch that cannot be read, and before reading any when the
        `patchOffset` patches already held and those of the element number more than
        MaxPatches.
    */
    bool readPatches (const juce::XmlElement& patches, bool merging, juce::uint16 patchOffset);

    //==============================================================================
    /** True once readNavigation() succeeded. */
    bool hasNavigation() const noexcept { return navigationRead; }

    /** The colour of the navigation symbols read. */
    juce::uint32 getNavigationColor() const noexcept { return navigationColor; }

    /** The (function, footswitch) pairs read, in document order. */
    const std::vector<std::pair<int, int>>& getNavigationFunctions() const noexcept { return functions; }

    /** The "current" read (cut to 16 bits); none when merging or nothing was read. */
    std::optional<juce::uint16> getCurrent() const noexcept { return current; }

    /** The patches read, in document order. */
    const std::vector<std::unique_ptr<VlPatch>>& getPatches() const noexcept { return patches; }

    /** Hands the patches over (ownership passes); the stage keeps none. */
    std::vector<std::unique_ptr<VlPatch>> takePatches() noexcept;

    /** Adds the colours the content uses to the sets: every patch's colour, every
        control's own colour and the navigation colour to the control set, and every
        state's colour.
    */
    void addColorsTo (ColorSet& patchColors, ColorSet& controlColors, ColorSet& stateColors) const;

private:
    bool navigationRead = false;
    juce::uint32 navigationColor = 0;
    std::vector<std::pair<int, int>> functions;
    std::optional<juce::uint16> current;
    std::vector<std::unique_ptr<VlPatch>> patches;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlDocumentStage)
};
