#include "app/CMouseButtons.h"

#include <gtest/gtest.h>

using Edge = CMouseButtons::Edge;

TEST(CMouseButtons, EdgesComeInHandlingOrderAndMoveOnOnlyWhenCommitted) {
    CMouseButtons buttons;
    EXPECT_TRUE(buttons.Edges().empty());

    buttons.Set(true, true);
    EXPECT_EQ(buttons.Edges(), (std::vector<Edge>{Edge::LeftPressed, Edge::RightPressed}));
    // A frame that ends early does not commit: the held buttons are pressed again next frame.
    EXPECT_EQ(buttons.Edges(), (std::vector<Edge>{Edge::LeftPressed, Edge::RightPressed}));
    buttons.Commit();
    EXPECT_TRUE(buttons.Edges().empty());

    buttons.Set(false, true);
    EXPECT_EQ(buttons.Edges(), (std::vector<Edge>{Edge::LeftReleased}));
    buttons.Commit();
    buttons.Set(true, false);
    EXPECT_EQ(buttons.Edges(), (std::vector<Edge>{Edge::LeftPressed, Edge::RightReleased}));
}
