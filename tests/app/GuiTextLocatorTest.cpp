#include "app/GuiTextLocator.h"
#include "app/CGameScreens.h"

#include "render/device/DDeviceNull.h"
#include "render/gui/CGuiComponent.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

#include <gtest/gtest.h>

namespace {

using Centre = std::optional<std::pair<int, int>>;

class GuiTextLocatorTest : public ::testing::Test {
protected:
    GuiTextLocatorTest() {
        root.SetRect(0, 0, 1024, 768);
        panel.SetRect(100, 50, 500, 450);
        label.SetText("Open");
        label.SetRect(10, 20, 110, 40);
        list.SetRect(600, 100, 1000, 400);
        list.AddItem("Look", false);
        list.AddItem("Open", true);
    }

    // The list entry's place comes from the list's layout.
    Centre EntryCentre(int index) const {
        const CGuiComponentText& item = list.Item(index);
        return std::pair{600 + item.Left() + item.Width() / 2, 100 + item.Top() + item.Height() / 2};
    }

    DDeviceNull device;
    CGuiComponent root{device};
    CGuiComponent& panel = root.CreateChild<CGuiComponent>();
    CGuiComponentText& label = panel.CreateChild<CGuiComponentText>();
    CGuiComponentList& list = root.CreateChild<CGuiComponentList>();
};

} // namespace

TEST_F(GuiTextLocatorTest, FindsTheTopmostShownTextByItsWholeText) {
    EXPECT_EQ(FindGuiText(root, "Open"), EntryCentre(1)) << "the list is drawn after the panel";
    EXPECT_EQ(FindGuiText(root, "Look"), EntryCentre(0));
    EXPECT_EQ(FindGuiText(root, "open"), Centre());
    EXPECT_EQ(FindGuiText(root, "Ope"), Centre());

    list.Item(1).SetVisible(false);
    EXPECT_EQ(FindGuiText(root, "Open"), Centre(std::pair{100 + 10 + 50, 50 + 20 + 10}));

    list.SetVisible(false);
    EXPECT_EQ(FindGuiText(root, "Look"), Centre()) << "a hidden list hides its entries";
    panel.SetVisible(false);
    EXPECT_EQ(FindGuiText(root, "Open"), Centre()) << "a hidden parent hides its texts";

    panel.SetVisible(true);
    root.SetVisible(false);
    EXPECT_EQ(FindGuiText(root, "Open"), Centre()) << "nothing shows while the root is hidden";
}

TEST_F(GuiTextLocatorTest, TheLoadingTextIsFoundOnlyWhileItsPanelShows) {
    CGameScreens screens(root);
    EXPECT_EQ(FindGuiText(root, CGameScreens::kLoadingText), Centre());
    screens.ShowLoadingPanel(true);
    const Centre centre = FindGuiText(root, CGameScreens::kLoadingText);
    ASSERT_TRUE(centre);
    // The panel is centred on the screen, its text centred in the panel.
    EXPECT_NEAR(centre->first, 512, 1);
    EXPECT_NEAR(centre->second, 384, 1);
}
