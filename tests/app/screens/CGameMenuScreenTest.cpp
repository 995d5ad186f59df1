#include "app/screens/CGameMenuScreen.h"
#include "app/screens/GameMenuHitOutput.h"
#include "app/screens/ScreenTest.h"
#include "render/image/CImage.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentImage.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using Panel = CGameMenuScreen::Panel;
using Target = CGameMenuScreen::Target;
using Hit = CGameMenuScreen::Hit;

namespace {

constexpr Panel kPanels[] = {Panel::Options, Panel::Load, Panel::Save, Panel::Quit, Panel::Restart};

std::vector<std::string> SlotLabels(const std::string& what) {
    std::vector<std::string> labels;
    for (int slot = 0; slot < CSlotPanelScreen::kSlotCount; ++slot) {
        labels.push_back((slot < 10 ? "0" : "") + std::to_string(slot) + " - " + what);
    }
    return labels;
}

// How often each text stands in the subtree.
void CountTexts(const CGuiComponent& component, std::map<std::string, int>& counts) {
    if (const auto* text = dynamic_cast<const CGuiComponentText*>(&component)) {
        ++counts[text->Text()];
    }
    for (const auto& child : component.Children()) {
        CountTexts(*child, counts);
    }
}

// Every shown component under `parent` lies inside its own parent, and every
// shown text has room for all of itself.
void ExpectShownInside(const CGuiComponent& parent) {
    for (const auto& child : parent.Children()) {
        const CGuiComponent& component = *child;
        if (!component.IsVisible()) {
            continue;
        }
        EXPECT_GE(component.Left(), 0);
        EXPECT_GE(component.Top(), 0);
        EXPECT_LE(component.Right(), parent.Width());
        EXPECT_LE(component.Bottom(), parent.Height());
        if (const auto* text = dynamic_cast<const CGuiComponentText*>(&component)) {
            EXPECT_GE(text->Width(), text->TextWidth()) << text->Text();
            EXPECT_GE(text->Height(), text->TextHeight()) << text->Text();
        }
        ExpectShownInside(component);
    }
}

const CSlotPanelScreen& SlotPanel(const CGameMenuScreen& menu, Panel panel) {
    return panel == Panel::Load ? menu.LoadPanel() : menu.SavePanel();
}

class CGameMenuScreenTest : public ScreenTest {
protected:
    CGameMenuScreenTest() { menu.Relayout(kFirstScreen.width, kFirstScreen.height); }

    Hit HitOn(const CGuiComponent& component) const {
        const ScreenPoint point = CentreOf(component);
        return menu.HitAt(point.x, point.y);
    }

    CGameMenuScreen menu{root};
};

TEST_F(CGameMenuScreenTest, BuiltHiddenWithEveryTextOfTheMenuAndItsPanels) {
    EXPECT_FALSE(menu.Visible());
    EXPECT_EQ(menu.OpenedPanel(), Panel::Options);
    std::map<std::string, int> counts;
    CountTexts(menu.Frame(), counts);
    const std::map<std::string, int> expected = {
        {"Options", 1},  {"close", 2},         {"Game", 1},          {"Load", 1},    {"Save", 1},
        {"Restart", 1},  {"Quit", 1},          {"Load =>", 1},       {"Save <=", 1}, {"Game options", 1},
        {"Quit ???", 1}, {"Restart game?", 1}, {"Are you sure?", 2}, {"Yes!", 2},    {"No!", 2},
        {"Load...", 1},  {"Save...", 1},
    };
    for (const auto& [text, count] : expected) {
        EXPECT_EQ(counts[text], count) << text;
    }
    EXPECT_TRUE(menu.LoadPanel().Slots().empty());
    EXPECT_TRUE(menu.SavePanel().Slots().empty());
}

TEST_F(CGameMenuScreenTest, HitAtFindsEveryButtonOfTheMenuAndOfTheOpenPanel) {
    menu.Show(true);
    struct Case {
        const char* what;
        Panel panel;
        const CGuiComponent& button;
        Hit hit;
    };
    const Case cases[] = {
        {"close", Panel::Options, menu.CloseButton().Frame(), {Target::Close}},
        {"Load", Panel::Options, menu.LoadButton().Frame(), {Target::Load}},
        {"Save", Panel::Quit, menu.SaveButton().Frame(), {Target::Save}},
        {"Restart", Panel::Load, menu.RestartButton().Frame(), {Target::Restart}},
        {"Quit", Panel::Save, menu.QuitButton().Frame(), {Target::Quit}},
        {"options close", Panel::Options, menu.Options().CloseButton().Frame(), {Target::OptionsClose}},
        {"quit: yes", Panel::Quit, menu.QuitPanel().YesButton().Frame(), {Target::Yes}},
        {"quit: no", Panel::Quit, menu.QuitPanel().NoButton().Frame(), {Target::No}},
        {"restart: yes", Panel::Restart, menu.RestartPanel().YesButton().Frame(), {Target::Yes}},
        {"restart: no", Panel::Restart, menu.RestartPanel().NoButton().Frame(), {Target::No}},
        {"the caption", Panel::Options, menu.Caption(), {}},
        {"the column's title", Panel::Load, menu.ColumnTitle(), {}},
        {"a panel's title", Panel::Quit, menu.QuitPanel().Title(), {}},
        {"the question", Panel::Restart, menu.RestartPanel().Question(), {}},
    };
    for (const Case& c : cases) {
        menu.OpenPanel(c.panel);
        EXPECT_EQ(HitOn(c.button), c.hit) << c.what;
    }

    // Between the buttons, beside the menu and with the menu hidden, nothing acts.
    const CGuiComponentFrame& save = menu.SaveButton().Frame();
    const ScreenPoint centre = CentreOf(save);
    EXPECT_EQ(menu.HitAt(centre.x, save.AbsoluteTop() - CGameMenuScreen::kButtonGap / 2), Hit{});
    EXPECT_EQ(menu.HitAt(menu.Frame().AbsoluteLeft() - 1, centre.y), Hit{});
    EXPECT_TRUE(menu.Contains(centre.x, centre.y));
    menu.Show(false);
    EXPECT_EQ(menu.HitAt(centre.x, centre.y), Hit{});
    EXPECT_FALSE(menu.Contains(centre.x, centre.y));
}

TEST_F(CGameMenuScreenTest, HiddenLoadAndSaveButtonsTakeNoClicks) {
    menu.Show(true);
    struct Case {
        bool load;
        bool save;
    };
    for (const Case& c : {Case{false, true}, Case{true, false}, Case{false, false}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "load " << c.load << ", save " << c.save);
        menu.ShowLoadButton(c.load);
        menu.ShowSaveButton(c.save);
        EXPECT_EQ(menu.LoadButton().Visible(), c.load);
        EXPECT_EQ(menu.SaveButton().Visible(), c.save);
        EXPECT_EQ(HitOn(menu.LoadButton().Frame()), c.load ? Hit{Target::Load} : Hit{});
        EXPECT_EQ(HitOn(menu.SaveButton().Frame()), c.save ? Hit{Target::Save} : Hit{});
        EXPECT_EQ(HitOn(menu.RestartButton().Frame()), Hit{Target::Restart})
            << "the others keep their places";
    }
}

TEST_F(CGameMenuScreenTest, OnePanelIsOpenAtATimeAndShowingTheMenuOpensTheOptions) {
    for (Panel open : kPanels) {
        SCOPED_TRACE(static_cast<int>(open));
        menu.OpenPanel(open);
        EXPECT_EQ(menu.OpenedPanel(), open);
        const CMenuPanelScreen* panels[] = {&menu.Options(), &menu.LoadPanel(), &menu.SavePanel(),
                                            &menu.QuitPanel(), &menu.RestartPanel()};
        for (Panel panel : kPanels) {
            EXPECT_EQ(panels[static_cast<int>(panel)]->Visible(), panel == open) << static_cast<int>(panel);
        }
    }
    menu.Show(true);
    EXPECT_TRUE(menu.Visible());
    EXPECT_EQ(menu.OpenedPanel(), Panel::Options);
    EXPECT_TRUE(menu.Options().Visible());
    EXPECT_FALSE(menu.RestartPanel().Visible());

    menu.OpenPanel(Panel::Save);
    menu.Show(false);
    menu.Show(true);
    EXPECT_EQ(menu.OpenedPanel(), Panel::Options) << "each time it is shown";
}

TEST_F(CGameMenuScreenTest, SlotListsHoldTwentyLabelsOneARowInSlotOrder) {
    menu.Show(true);
    for (Panel open : {Panel::Load, Panel::Save}) {
        SCOPED_TRACE(static_cast<int>(open));
        const CSlotPanelScreen& panel = SlotPanel(menu, open);
        const CSlotPanelScreen& other = SlotPanel(menu, open == Panel::Load ? Panel::Save : Panel::Load);
        const std::vector<std::string> otherSlots = other.Slots();
        const std::vector<std::string> labels = SlotLabels(open == Panel::Load ? "empty" : "damaged");
        menu.OpenPanel(open);
        menu.SetSlots(labels);
        EXPECT_EQ(panel.Slots(), labels);
        EXPECT_EQ(other.Slots(), otherSlots) << "only the open panel's list";

        const CGuiComponentList& list = panel.List();
        for (int slot = 0; slot < CSlotPanelScreen::kSlotCount; ++slot) {
            const CGuiComponentText& row = list.Item(slot);
            EXPECT_TRUE(row.IsVisible()) << slot;
            EXPECT_EQ(row.Left(), 0) << slot;
            EXPECT_EQ(row.Top(), slot * list.RowHeight()) << slot;
            EXPECT_LE(row.Bottom(), list.Height()) << slot;
        }
        for (int slot : {0, 7, 19}) {
            EXPECT_EQ(HitOn(list.Item(slot)), (Hit{Target::Slot, slot})) << slot;
        }

        const std::string saved = "07 - In the cellar, the lamp lit and the door still locked";
        menu.SetSlotLabel(7, saved);
        std::vector<std::string> expected = labels;
        expected[7] = saved;
        EXPECT_EQ(panel.Slots(), expected);
        EXPECT_GE(list.Item(7).Width(), list.Item(7).TextWidth()) << "the longer label is shown whole";
    }
}

TEST_F(CGameMenuScreenTest, SlotsChangeAndTakeClicksOnlyInTheOpenLoadOrSavePanel) {
    menu.Show(true);
    menu.OpenPanel(Panel::Save);
    menu.SetSlots(SlotLabels("empty"));
    const ScreenPoint slot3 = CentreOf(menu.SavePanel().List().Item(3));

    menu.OpenPanel(Panel::Load);
    EXPECT_EQ(menu.HitAt(slot3.x, slot3.y), Hit{}) << "the load list is still empty";
    for (Panel other : {Panel::Options, Panel::Quit}) {
        menu.OpenPanel(other);
        menu.SetSlots(SlotLabels("damaged"));
        menu.SetSlotLabel(3, "03 - changed");
        EXPECT_NE(menu.HitAt(slot3.x, slot3.y).target, Target::Slot) << static_cast<int>(other);
    }
    EXPECT_EQ(menu.SavePanel().Slots(), SlotLabels("empty"));
    EXPECT_TRUE(menu.LoadPanel().Slots().empty());

    menu.OpenPanel(Panel::Save);
    EXPECT_EQ(menu.HitAt(slot3.x, slot3.y), (Hit{Target::Slot, 3}));
}

TEST_F(CGameMenuScreenTest, SlotDetailsShowThePictureAndTimeOrNothing) {
    CImage picture(160, 120);
    picture.Fill(0x20, 0x40, 0x60, 0xFF);
    for (Panel open : {Panel::Load, Panel::Save}) {
        SCOPED_TRACE(static_cast<int>(open));
        const CSlotPanelScreen& panel = SlotPanel(menu, open);
        menu.OpenPanel(open);
        EXPECT_FALSE(panel.Picture().IsVisible()) << "none until a slot is under the cursor";
        EXPECT_EQ(panel.SavedAt().Text(), "");

        menu.ShowSlotDetails(&picture, "2024-05-01 14:32");
        const CGuiComponentImage& image = panel.Picture();
        EXPECT_TRUE(image.IsVisible());
        EXPECT_EQ(image.Texel(0, 0), 0xFF204060u);
        EXPECT_EQ(image.Texel(511, 511), 0xFF204060u);
        EXPECT_EQ(panel.SavedAt().Text(), "2024-05-01 14:32");
        EXPECT_EQ(image.Width(), 160);
        EXPECT_EQ(image.Height(), 120);
        EXPECT_GE(image.Left(), panel.List().Right()) << "beside the list";
        EXPECT_GE(panel.SavedAt().Top(), image.Bottom()) << "the time under the picture";

        menu.ShowSlotDetails(nullptr, "");
        EXPECT_FALSE(image.IsVisible());
        EXPECT_EQ(panel.SavedAt().Text(), "");

        menu.ShowSlotDetails(&picture, "2024-05-01 14:32");
        menu.OpenPanel(Panel::Options);
        menu.ShowSlotDetails(nullptr, "");
        EXPECT_TRUE(image.IsVisible()) << "details go to the open load or save panel only";
        menu.OpenPanel(open);
        EXPECT_FALSE(image.IsVisible()) << "opening it again shows none";
    }
}

TEST_F(CGameMenuScreenTest, CentredOnEachScreenWithEveryPanelInside) {
    struct Case {
        ScreenSize screen;
        int left;
        int top;
    };
    const CImage picture(160, 120);
    menu.Show(true);
    menu.Options().SetResolutions(
        {"1024x768", "1152x864", "1280x960", "1400x1050", "1600x1200", "1920x1440", "2048x1536"}, 2);
    for (const Case& c : {Case{kFirstScreen, 32, 84}, Case{kSecondScreen, 160, 180}}) {
        SCOPED_TRACE(c.screen.width);
        menu.Relayout(c.screen.width, c.screen.height);
        const CGuiComponentFrame& frame = menu.Frame();
        EXPECT_EQ(frame.Left(), c.left);
        EXPECT_EQ(frame.Top(), c.top);
        EXPECT_EQ(frame.Width(), CGameMenuScreen::kWidth);
        EXPECT_EQ(frame.Height(), CGameMenuScreen::kHeight);
        EXPECT_EQ(frame.Left() + frame.Right(), c.screen.width);
        EXPECT_EQ(frame.Top() + frame.Bottom(), c.screen.height);
        EXPECT_GE(frame.Left(), 0);
        EXPECT_GE(frame.Top(), 0);
        EXPECT_EQ(HitOn(menu.CloseButton().Frame()), Hit{Target::Close}) << "clicks follow the menu";
        for (Panel panel : kPanels) {
            SCOPED_TRACE(static_cast<int>(panel));
            menu.OpenPanel(panel);
            menu.SetSlots(SlotLabels("empty"));
            menu.ShowSlotDetails(&picture, "2024-05-01 14:32");
            ExpectShownInside(frame);
        }
    }
}

} // namespace
