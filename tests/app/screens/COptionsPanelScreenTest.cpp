#include "app/screens/COptionsPanelScreen.h"
#include "app/screens/GameMenuHitOutput.h"
#include "app/screens/ScreenStyle.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentProgress.h"
#include "render/gui/CGuiComponentText.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Target = GameMenuTarget;

const std::vector<std::string> kModes = {"1024x768", "1152x864", "1280x960", "1400x1050", "1600x1200"};

void CollectTexts(const CGuiComponent& component, std::set<std::string>& texts) {
    if (const auto* text = dynamic_cast<const CGuiComponentText*>(&component)) {
        texts.insert(text->Text());
    }
    for (const auto& child : component.Children()) {
        CollectTexts(*child, texts);
    }
}

class COptionsPanelScreenTest : public ScreenTest {
protected:
    COptionsPanelScreenTest() {
        options.MoveTo(100, 50);
        options.Show(true);
    }

    GameMenuHit HitOn(const CGuiComponent& component) const {
        const ScreenPoint point = CentreOf(component);
        return options.HitAt(point.x, point.y);
    }

    COptionsPanelScreen options{root};
};

struct Slider {
    const char* what;
    Target target;
    void (COptionsPanelScreen::*set)(int);
    int (COptionsPanelScreen::*get)() const;
    const CGuiComponentProgress& (COptionsPanelScreen::*bar)() const;
};

constexpr Slider kSliders[] = {
    {"effects", Target::EffectsSlider, &COptionsPanelScreen::SetEffectsSlider,
     &COptionsPanelScreen::EffectsSlider, &COptionsPanelScreen::EffectsBar},
    {"music", Target::MusicSlider, &COptionsPanelScreen::SetMusicSlider, &COptionsPanelScreen::MusicSlider,
     &COptionsPanelScreen::MusicBar},
};

TEST_F(COptionsPanelScreenTest, ShowsItsLabelsChoicesAndTheNoteWhole) {
    std::set<std::string> texts;
    CollectTexts(options.Frame(), texts);
    for (const char* text :
         {"Game options", "close", "Effects volume:", "Music volume:", "Screen resolution:",
          "Texture quality:", "High", "Med", "Low", "Shadows", "Light FX", "Mirrors"}) {
        EXPECT_EQ(texts.count(text), 1u) << text;
    }

    const CGuiComponentText& note = options.Note();
    EXPECT_EQ(note.Text(), "Note: High texture quality is for graphics cards with at least 256MB\n"
                           "Shadows, light fx and mirrors should only be disabled on older\n"
                           "graphic cards. Some very fast cards with less than 256MB in combination\n"
                           "with a fast computer, can handle high texture quality, try it.");
    EXPECT_GE(note.Width(), note.TextWidth());
    EXPECT_GE(note.Height(), note.TextHeight());
    EXPECT_LE(note.Right(), options.Frame().Width());
    EXPECT_LE(note.Bottom(), options.Frame().Height());
    EXPECT_GE(note.Top(), options.ShadowsBox().Area().Bottom()) << "under the controls";
}

TEST_F(COptionsPanelScreenTest, SliderValueIsTheFilledShareOfItsBar) {
    struct Case {
        int set;
        int value;
    };
    const Case cases[] = {{0, 0}, {25, 25}, {50, 50}, {99, 99}, {100, 100}, {-5, 0}, {250, 100}};
    for (const Slider& slider : kSliders) {
        const CGuiComponentProgress& bar = (options.*slider.bar)();
        const Slider& other = slider.target == Target::EffectsSlider ? kSliders[1] : kSliders[0];
        (options.*other.set)(40);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << slider.what << " " << c.set);
            (options.*slider.set)(c.set);
            EXPECT_EQ((options.*slider.get)(), c.value);
            EXPECT_EQ(bar.Filled().Width(), bar.Width() * c.value / 100);
            EXPECT_EQ(bar.Filled().IsVisible(), c.value > 0);
            EXPECT_EQ(bar.Empty().IsVisible(), c.value < 100);
            EXPECT_EQ((options.*other.get)(), 40) << "the other slider keeps its value";
        }
    }
}

TEST_F(COptionsPanelScreenTest, SliderValueAtFollowsTheCursorAndStopsAtTheEnds) {
    for (const Slider& slider : kSliders) {
        const CGuiComponentProgress& bar = (options.*slider.bar)();
        const int left = bar.AbsoluteLeft();
        const int width = bar.Width();
        ASSERT_GT(width, 0);
        struct Case {
            const char* what;
            int x;
            int value;
        };
        const Case cases[] = {
            {"left end", left, 0},
            {"a quarter", left + width / 4, 25},
            {"the middle", left + width / 2, 50},
            {"right end", left + width, 100},
            {"left of the bar", left - 40, 0},
            {"right of the bar", left + width + 40, 100},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(options.SliderValueAt(slider.target, c.x), c.value) << slider.what << ": " << c.what;
        }
    }
    EXPECT_THROW(options.SliderValueAt(Target::Shadows, 0), CADVException);
}

TEST_F(COptionsPanelScreenTest, HitAtFindsEveryControl) {
    options.SetResolutions(kModes, 0);
    struct Case {
        const char* what;
        const CGuiComponent& component;
        GameMenuHit hit;
    };
    const auto& qualities = options.QualityBoxes();
    const Case cases[] = {
        {"close", options.CloseButton().Frame(), {Target::OptionsClose}},
        {"effects slider", options.EffectsBar(), {Target::EffectsSlider}},
        {"music slider", options.MusicBar(), {Target::MusicSlider}},
        {"first mode", options.ResolutionList().Item(0), {Target::Resolution, 0}},
        {"fourth mode", options.ResolutionList().Item(3), {Target::Resolution, 3}},
        {"High", qualities[0].Box(), {Target::TextureQuality, 1}},
        {"Med", qualities[1].Label(), {Target::TextureQuality, 2}},
        {"Low", qualities[2].Box(), {Target::TextureQuality, 4}},
        {"Shadows", options.ShadowsBox().Box(), {Target::Shadows}},
        {"Light FX, on its text", options.LightFxBox().Label(), {Target::LightFx}},
        {"Mirrors", options.MirrorsBox().Box(), {Target::Mirrors}},
        {"the title", options.Title(), {}},
        {"the note", options.Note(), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitOn(c.component), c.hit) << c.what;
    }
}

TEST_F(COptionsPanelScreenTest, ResolutionListShowsTheModesWithTheCurrentOneSelected) {
    EXPECT_EQ(options.SelectedResolution(), -1);
    for (int selected : {2, 0, 4, -1}) {
        SCOPED_TRACE(selected);
        options.SetResolutions(kModes, selected);
        EXPECT_EQ(options.SelectedResolution(), selected);
        const CGuiComponentList& list = options.ResolutionList();
        EXPECT_EQ(list.ItemTexts(), kModes);
        for (int i = 0; i < list.ItemCount(); ++i) {
            const CGuiComponentText& mode = list.Item(i);
            EXPECT_TRUE(mode.IsVisible()) << i;
            EXPECT_GE(mode.Width(), mode.TextWidth()) << i;
            EXPECT_EQ(mode.Colour(), i == selected ? ScreenStyle::kHighlightText : ScreenStyle::kText) << i;
        }
    }
    options.SetResolutions({"1024x768"}, 0);
    EXPECT_EQ(options.ResolutionList().ItemTexts(), std::vector<std::string>{"1024x768"});
    EXPECT_EQ(options.SelectedResolution(), 0);
}

TEST_F(COptionsPanelScreenTest, TextureQualityMarksTheCurrentChoiceOnly) {
    EXPECT_EQ(options.TextureQuality(), 0);
    struct Case {
        int quality;
        bool high;
        bool med;
        bool low;
    };
    for (const Case& c : {Case{1, true, false, false}, Case{2, false, true, false},
                          Case{4, false, false, true}, Case{3, false, false, false}}) {
        SCOPED_TRACE(c.quality);
        options.SetTextureQuality(c.quality);
        EXPECT_EQ(options.TextureQuality(), c.quality);
        const auto& boxes = options.QualityBoxes();
        EXPECT_EQ(boxes[0].Checked(), c.high);
        EXPECT_EQ(boxes[1].Checked(), c.med);
        EXPECT_EQ(boxes[2].Checked(), c.low);
        EXPECT_EQ(boxes[0].Mark().IsVisible(), c.high);
        EXPECT_EQ(boxes[2].Mark().IsVisible(), c.low);
    }
}

TEST_F(COptionsPanelScreenTest, SwitchesShowEachOneOnOrOff) {
    EXPECT_FALSE(options.Shadows() || options.LightFx() || options.Mirrors());
    struct Case {
        bool shadows;
        bool lightFx;
        bool mirrors;
    };
    for (const Case& c : {Case{true, false, true}, Case{false, true, false}, Case{true, true, true},
                          Case{false, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.shadows << c.lightFx << c.mirrors);
        options.SetSwitches(c.shadows, c.lightFx, c.mirrors);
        EXPECT_EQ(options.Shadows(), c.shadows);
        EXPECT_EQ(options.LightFx(), c.lightFx);
        EXPECT_EQ(options.Mirrors(), c.mirrors);
        EXPECT_EQ(options.ShadowsBox().Mark().IsVisible(), c.shadows);
        EXPECT_EQ(options.LightFxBox().Mark().IsVisible(), c.lightFx);
        EXPECT_EQ(options.MirrorsBox().Mark().IsVisible(), c.mirrors);
    }
}

} // namespace
