#include "VlEngineTests.h"

// The colour sets.
//==============================================================================
TEST_F (VlEngineTests, ReplacingAndRemovingColoursRecolourTheirItems)
{
    auto& owner = static_cast<CColorsSetOwner&> (engine);
    auto& first = addPatch();
    auto& second = addPatch();
    first.setColor (0xff111111);
    auto& green = addControl (first, 1, 2);
    green.setColor (0xff00ff00);
    green.getState (1)->setColor (0xffff0000);
    auto& link = addLink (second, 1, 0, 1);
    link.resolveLink();
    addControl (second, 3).setColor (0xff00ff00);
    auto& earlierLink = addLink (first, 3, 1, 3);
    earlierLink.resolveLink();
    engine.setNavigationColor (0xff00ff00);
    owner.resetColors (&engine.getControlColors());
    owner.resetColors (&engine.getStateColors());
    const auto controls = engine.getControlColors();
    ui.takeCalls();
    owner.replaceColor (&engine.getControlColors(), 0xff999999, 0xff888888);
    EXPECT_EQ (engine.getControlColors(), controls);

    // Whichever row changed the library, the board and the patch list show its items again.
    EXPECT_EQ (takeCalls(), "refresh buttons; refresh pedals; repaint board; refresh list");
    owner.replaceColor (&engine.getControlColors(), 0xff00ff00, 0xff0000ff);
    EXPECT_EQ (green.getOwnColor(), 0xff0000ffu);
    EXPECT_EQ (link.getOwnColor(), 0xff0000ffu);           // compared at the end of its chain,
    EXPECT_EQ (earlierLink.getOwnColor(), 0xff0000ffu);    // before or after its target
    EXPECT_EQ (engine.getControlColors(), controls);
    EXPECT_EQ (engine.getNavigationColor(), 0xff00ff00u);
    owner.removeColor (&engine.getStateColors(), 0xffffffff);
    owner.removeColor (&engine.getStateColors(), 0xffff0000);
    EXPECT_EQ (engine.getStateColors(), (ColorSet { 0xff0000ff, 0xff00ff00, 0xffffffff }));
    EXPECT_EQ (green.getState (1)->getColor(), 0xffffffffu);
    owner.removeColor (&engine.getPatchColors(), 0xff111111);
    EXPECT_EQ (first.getColor(), 0xffe3e3e3u);
    ui.takeCalls();
    owner.removeAllColors (&engine.getControlColors());
    EXPECT_EQ (takeCalls(), "refresh buttons; refresh pedals; repaint board; refresh list");
    EXPECT_EQ (engine.getControlColors(), (ColorSet { 0xffffffff }));
    EXPECT_EQ (green.getOwnColor(), 0xffffffffu);
    EXPECT_EQ (link.getOwnColor(), 0xffffffffu);
    EXPECT_EQ (engine.getNavigationColor(), 0xff00ff00u);
}
