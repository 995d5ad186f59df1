#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/input/CMouseInput.h"
#include "app/menu/CGameMenu.h"
#include "app/world/CGameScriptObject.h"
#include "app/world/CGameWorld.h"
#include "scene/CPolygonTable.h"
#include "app/screens/CInputFieldScreen.h"
#include "app/screens/CInventoryScreen.h"

#include "FixtureGame.h"
#include "platform/DClock.h"
#include "platform/DRegistry.h"
#include "render/C3DEngine2.h"
#include "render/device/DDevice.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "state/CState.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace {

class CGameTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFixtureGame(m_dir.Path(), {}); }

    CRunOptions Options() {
        CRunOptions options;
        options.headless = true;
        options.settingsFile = m_dir / "settings.toml";
        options.dataFolder = m_dir.Path();
        return options;
    }

    TempDir m_dir;
    DClock m_clock{DClock::Mode::Manual, 5000};
    DWindow m_window{true};
};

} // namespace

TEST_F(CGameTest, FirstStartWritesTheDefaultsThatAreAddedWhenMissing) {
    {
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        EXPECT_TRUE(game.IsInitialized());
    }
    DRegistry settings(m_dir / "settings.toml");
    const std::pair<const char*, int> written[] = {
        {"resx", 1024},        {"resy", 768},   {"fullscreen", 1},      {"pickwindowhold", 0},
        {"texturequality", 2}, {"lighdows", 1}, {"shadows", 1},         {"mirrors", 1},
        {"vsync", 1},          {"gamepad", 1},  {"gamepadspeed", 1000}, {"gamepaddeadzone", 20},
    };
    // The sound engine adds its own values when it starts.
    const std::pair<const char*, int> sound[] = {
        {"effectvolume", 64}, {"musicvolume", 48}, {"mastervolume", 64}, {"latencybuffer", 256}};
    for (const auto& [name, value] : sound) {
        EXPECT_EQ(settings.ReadInt(name, -1, false), value) << name;
    }
    for (const auto& [name, value] : written) {
        EXPECT_EQ(settings.ReadInt(name, -1, false), value) << name;
    }
    for (const char* absent : {"preload", "clear", "showframerate"}) {
        EXPECT_EQ(settings.ReadInt(absent, -1, false), -1) << absent << " is read but never written";
    }
    EXPECT_EQ(settings.ReadString("startscene", "absent", false), "absent");
}

TEST_F(CGameTest, QualitySwitchesAreReadWithTheirRules) {
    WriteFile(m_dir / "settings.toml",
              "texturequality = 3\nshadows = 0\nlighdows = 5\npreload = 0\nclear = 2\n");
    {
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        const CQualitySettings& quality = game.Quality();
        EXPECT_EQ(quality.textureQuality, 2) << "3 is not a quality level: used as 2";
        EXPECT_FALSE(quality.shadows);
        EXPECT_TRUE(quality.lightEffects);
        EXPECT_TRUE(quality.mirrors);
        EXPECT_FALSE(quality.preload);
        EXPECT_TRUE(quality.clear);
    }
    DRegistry settings(m_dir / "settings.toml");
    EXPECT_EQ(settings.ReadInt("texturequality", -1, false), 3) << "the stored value is left alone";
}

TEST_F(CGameTest, AcceptedTextureQualities) {
    for (const int stored : {1, 2, 4, 0, -1, 8}) {
        WriteFile(m_dir / "settings.toml", "texturequality = " + std::to_string(stored) + "\n");
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        const int expected = (stored == 1 || stored == 2 || stored == 4) ? stored : 2;
        EXPECT_EQ(game.Quality().textureQuality, expected) << stored;
    }
}

TEST_F(CGameTest, GamepadSettingsAreReadWithinTheirLimits) {
    struct Case {
        const char* settings;
        bool enabled;
        float speed;
        float deadZone;
    };
    const Case cases[] = {
        {"", true, 1000.0f, 0.2f},
        {"gamepad = 0\ngamepadspeed = 400\ngamepaddeadzone = 35\n", false, 400.0f, 0.35f},
        {"gamepad = 2\ngamepadspeed = -5\ngamepaddeadzone = 150\n", true, 50.0f, 0.9f},
        {"gamepadspeed = 99999\ngamepaddeadzone = -1\n", true, 10000.0f, 0.0f},
    };
    for (const Case& c : cases) {
        WriteFile(m_dir / "settings.toml", c.settings);
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        const DGamepad::Settings& pads = m_window.Gamepad().Current();
        EXPECT_EQ(pads.enabled, c.enabled) << c.settings;
        EXPECT_EQ(pads.stick.speed, c.speed) << c.settings;
        EXPECT_FLOAT_EQ(pads.stick.deadZone, c.deadZone) << c.settings;
    }
}

TEST_F(CGameTest, FramesKeepStepWithTheDisplayUnlessTheRunMustNotWait) {
    struct Case {
        const char* name;
        const char* settings;
        bool headless;
        std::optional<long> fixedStep;
        bool inStep;
    };
    const Case cases[] = {
        {"a window", "", false, std::nullopt, true},
        {"a window with vsync = 0", "vsync = 0\n", false, std::nullopt, false},
        {"headless", "", true, std::nullopt, false},
        {"a fixed step", "vsync = 1\n", false, 50, false},
    };
    for (const Case& c : cases) {
        WriteFile(m_dir / "settings.toml", std::string("fullscreen = 0\n") + c.settings);
        CRunOptions options = Options();
        options.headless = c.headless;
        options.fixedStep = c.fixedStep;
        CGame game(options, m_clock);
        game.Initialize(m_window);
        EXPECT_EQ(m_window.Pacer().Current() != DFramePacer::Method::Free, c.inStep) << c.name;
    }
}

TEST_F(CGameTest, WindowedWhateverTheResolutionSays) {
    WriteFile(m_dir / "settings.toml", "resx = 1600\nresy = 1200\nfullscreen = 0\n");
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_FALSE(m_window.IsFullscreen());
    // The cursor stops at the last pixel of the 1024 x 768 client area, never at its width.
    m_window.Mouse().OnMotion(5000, 5000);
    game.DoFrame();
    EXPECT_EQ(game.Mouse().CursorX(), 1023.0f);
    EXPECT_EQ(game.Mouse().CursorY(), 767.0f);
    m_window.Mouse().OnMotion(-3000, 10);
    game.DoFrame();
    EXPECT_EQ(game.Mouse().CursorX(), 0.0f);
    EXPECT_EQ(game.Mouse().CursorY(), 767.0f);
}

TEST_F(CGameTest, CursorMovesTwicePerMouseUnit) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    m_window.Mouse().OnMotion(10, 20);
    game.DoFrame();
    EXPECT_EQ(game.Mouse().CursorX(), 20.0f);
    EXPECT_EQ(game.Mouse().CursorY(), 40.0f);
    game.DoFrame();
    EXPECT_EQ(game.Mouse().CursorX(), 20.0f) << "no new mouse events: no movement";
}

TEST_F(CGameTest, FocusMessagesAcquireAndReleaseTheMouse) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_TRUE(m_window.Mouse().IsAcquired());
    EXPECT_TRUE(game.HandleMessage(WM_KILLFOCUS, 0, 0));
    EXPECT_FALSE(m_window.Mouse().IsAcquired());
    EXPECT_TRUE(game.HandleMessage(WM_SETFOCUS, 0, 0));
    EXPECT_TRUE(m_window.Mouse().IsAcquired());
    EXPECT_FALSE(game.HandleMessage(WM_SYSKEYDOWN, 'X', 0)) << "other system keys are not ours";
}

TEST_F(CGameTest, WindowClosedEndsTheLoopWithStatusZero) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    DMessage message;
    while (m_window.PeekMessage(message)) {
    }
    EXPECT_TRUE(game.HandleMessage(WM_DESTROY, 0, 0));
    ASSERT_TRUE(m_window.PeekMessage(message));
    EXPECT_EQ(message.msg, WM_QUIT);
    EXPECT_EQ(message.wParam, 0u);
}

namespace {

std::string StateText(CState& store, const char16_t* name) {
    return WideToAnsi(store.GetVariant(name).BstrValue());
}

} // namespace

TEST_F(CGameTest, StartRunsTheGameScriptAndSetsTheSetupSwitches) {
    WriteFixtureGame(m_dir.Path(),
                     {{"data\\scripts\\master.lib", "function Greeting() { return 'hi'; }\n"},
                      {"data\\scripts\\master.ads",
                       "function OnInit() { state.scene = 'hall'; state.greeting = Greeting(); }\n"}});
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_EQ(StateText(game.World().State(), u"scene"), "hall");
    EXPECT_EQ(StateText(game.World().State(), u"greeting"), "hi") << "master.lib runs before master.ads";
    for (const char16_t* flag : {u"input", u"inputfield", u"mayload", u"maysave"}) {
        EXPECT_TRUE(game.World().Setup().GetBool(flag));
    }
}

TEST_F(CGameTest, StartSceneSettingOverridesTheScript) {
    WriteFile(m_dir / "settings.toml", "startscene = 'cellar'\n");
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_EQ(StateText(game.World().State(), u"scene"), "cellar");
}

TEST_F(CGameTest, LoadSceneTakesEffectAtTheNextFrameAndTheLaterNameWins) {
    WriteFixtureGame(m_dir.Path(),
                     {{"data\\scripts\\master.ads",
                       "function OnInit() { state.scene = 'hall'; game.loadscene('attic'); }\n"},
                      {"data\\scripts\\hall.scs", "function OnInit() {}\n"},
                      {"data\\scripts\\garden.scs", "function OnInit() {}\n"}});
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_TRUE(game.World().PendingScene().empty()) << "a scene asked for during OnInit is dropped at start";

    DISPID loadscene = 0;
    const std::u16string_view name = u"loadscene";
    ASSERT_EQ(game.ScriptObject().GetIDsOfNames(IID_NULL, {&name, 1}, &loadscene), S_OK);
    for (const char16_t* scene : {u"attic", u"garden"}) {
        const Variant arg = Variant::Bstr(scene);
        ASSERT_EQ(game.ScriptObject().Invoke(loadscene, IID_NULL, DISPATCH_METHOD, {&arg, 1}, nullptr, nullptr), S_OK);
    }
    EXPECT_EQ(game.World().PendingScene(), "garden");
    EXPECT_EQ(StateText(game.World().State(), u"scene"), "hall");
    game.DoFrame();
    EXPECT_EQ(StateText(game.World().State(), u"scene"), "garden");
    EXPECT_EQ(StateText(game.World().State(), u"prevscene"), "hall");
    EXPECT_TRUE(game.World().PendingScene().empty());
}

TEST_F(CGameTest, GameObjectQueuesMessageBoxesAndSplitsCommandLists) {
    WriteFixtureGame(m_dir.Path(), {{"data\\scripts\\master.ads",
                                     "function OnInit() {\n"
                                     "  game.messagebox('Hello');\n"
                                     "  game.messagebox('Door', \"event='opened' eventparameter='north'\");\n"
                                     "  game.setgamecommands('look,,take', '');\n"
                                     "  state.scene = 'x';\n"
                                     "}\n"}});
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    ASSERT_EQ(game.MessageBoxes().Queue().Queued().size(), 2u);
    EXPECT_EQ(game.MessageBoxes().Queue().Queued()[0].text, "Hello");
    EXPECT_EQ(game.MessageBoxes().Queue().Queued()[0].event, "");
    EXPECT_EQ(game.MessageBoxes().Queue().Queued()[1].event, "opened");
    EXPECT_EQ(game.MessageBoxes().Queue().Queued()[1].eventParameter, "north");
    EXPECT_EQ(game.Commands().ObjectCommands(), (std::vector<std::string>{"look", "", "take"}));
    EXPECT_TRUE(game.Commands().FreeCommands().empty());
}

TEST_F(CGameTest, GameObjectArgumentRulesAndScriptErrorsReachTheGameHandler) {
    // Each call fails as a script error; OnScriptException counts them, and
    // nothing the failing calls asked for takes effect.
    WriteFixtureGame(m_dir.Path(),
                     {{"data\\scripts\\master.ads",
                       "var failures = [];\n"
                       "function OnScriptException() { state.errors = (state.errors || 0) + 1; }\n"
                       "function Try(f) { try { f(); } catch (e) { failures.push(String(e)); } }\n"
                       "function OnInit() {\n"
                       "  Try(function() { game.loadscene(); });\n"
                       "  Try(function() { game.loadscene(5); });\n"
                       "  Try(function() { game.loadscene('a', 'b'); });\n"
                       "  Try(function() { game.messagebox(); });\n"
                       "  Try(function() { game.setgamecommands('only one'); });\n"
                       "  Try(function() { game.setcamera(1); });\n"
                       "  Try(function() { game.addpolygon('p', 'event', 'e', 0, 0, 1, 0, 1); });\n"
                       "  Try(function() { game.addpolygon('p', 'event', 'e', 0, 0, 1, 0, 1, 1, 0); });\n"
                       "  Try(function() { game.addpolygon('p', 'bogus', 'e', 0, 0, 1, 0, 1, 1); });\n"
                       "  Try(function() { game.enablepolygons(); });\n"
                       "  game.addpolygon('walk', 'WalkInside', '', 0, 0, 4, 0, 4, 4);\n"
                       "  game.addpolygon('zone', 'event', 'door', 0, 0, 1, 0, 1, 1);\n"
                       "  Try(function() { game.disablepolygons('walk', 5, 'zone'); });\n"
                       "  state.failed = failures.length;\n"
                       "  state.polygonType = failures[8];\n"
                       "  state.scene = 'start';\n"
                       "  no_such_function();\n"
                       "}\n"}});
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_EQ(game.World().State().GetVariant(u"failed").IntValue(), 11);
    EXPECT_NE(StateText(game.World().State(), u"polygonType").find("Unknown polygon type"), std::string::npos)
        << StateText(game.World().State(), u"polygonType");
    const CNamedPolygon* walk = game.World().Polygons().Find("walk");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->type, EPolygonType::WalkInside) << "type words match in any case";
    EXPECT_FALSE(walk->enabled) << "names before a wrong argument keep their change";
    EXPECT_TRUE(game.World().Polygons().Find("zone")->enabled);
    EXPECT_EQ(game.World().Polygons().Find("p"), nullptr);
    EXPECT_TRUE(game.World().PendingScene().empty());
    EXPECT_TRUE(game.MessageBoxes().Queue().Queued().empty());
    EXPECT_EQ(game.World().State().GetVariant(u"errors").IntValue(), 1)
        << "the uncaught error reached OnScriptException";
}

TEST_F(CGameTest, FpsLabelShowsTheRateOnceASecondOnlyWhenTheSettingAsks) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        WriteFile(m_dir / "settings.toml", shown ? "showframerate = 1\n" : "");
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        // 16 ms a frame: the first text comes with the frame after one second.
        for (int frame = 0; frame < 70; ++frame) {
            game.DoFrame();
            m_clock.Advance(16);
        }
        const CGuiComponentText& label = game.Screens().FpsLabel();
        EXPECT_EQ(label.IsVisible(), shown);
        if (shown) {
            EXPECT_TRUE(std::regex_match(label.Text(), std::regex("[0-9]+ fps - [0-9]+ cycles")))
                << label.Text();
            EXPECT_EQ(label.Right(), 1024 - CGameScreens::kFpsRightMargin);
        } else {
            EXPECT_EQ(label.Text(), "") << "a hidden label is never filled";
        }
        EXPECT_FALSE(game.Screens().LoadingText().Parent()->IsVisible()) << "hidden once a frame ran";
    }
}

TEST_F(CGameTest, LoadingPanelIsTheOnlyThingDrawnWhileASceneLoads) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    game.World().LoadScene("start");
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
    ASSERT_EQ(game.Renderer().Device().ReadBackBuffer(rgba, &width, &height), S_OK);
    ASSERT_EQ(width, 1024);
    const auto pixel = [&](int x, int y) {
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    const CGuiComponent& panel = game.Screens().LoadingPanel();
    int inkInside = 0;
    for (int y = panel.Top(); y < panel.Bottom(); ++y) {
        for (int x = panel.Left(); x < panel.Right(); ++x) {
            inkInside += pixel(x, y) == 0xFFFFFF ? 1 : 0;
        }
    }
    EXPECT_GT(inkInside, 20) << "the text is drawn";
    EXPECT_NE(pixel(panel.Left() + 2, panel.Top() + 2), 0) << "the panel is drawn";
    EXPECT_EQ(pixel(10, 10), 0) << "nothing but the panel: no scene, no cursor";
    EXPECT_EQ(pixel(1000, 50), 0) << "no fps label";
}

TEST_F(CGameTest, AltEnterSwitchesBetweenTheFullScreenModeAndTheWindowAndLaysTheScreensOut) {
    struct Case {
        const char* settings;
        int fullWidth;
        int fullHeight;
    };
    const Case cases[] = {
        {"resx = 1280\nresy = 960\nfullscreen = 0\nshowframerate = 1\n", 1280, 960},
        // Not a 4:3 mode of 1024 or more: the smallest one instead.
        {"resx = 1000\nresy = 700\nfullscreen = 0\nshowframerate = 1\n", 1024, 768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        WriteFile(m_dir / "settings.toml", c.settings);
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        m_window.Mouse().OnMotion(5000, 5000);
        game.DoFrame();
        for (const auto& [width, height] : {std::pair{c.fullWidth, c.fullHeight}, std::pair{1024, 768},
                                            std::pair{c.fullWidth, c.fullHeight}}) {
            ASSERT_TRUE(game.HandleMessage(WM_SYSKEYDOWN, VK_RETURN, 0));
            EXPECT_EQ(game.ScreenWidth(), width);
            EXPECT_EQ(game.Renderer().ScreenWidth(), width);
            EXPECT_EQ(game.Renderer().ScreenHeight(), height);
            EXPECT_EQ(game.Renderer().Width(), width) << "the GUI root takes the new size";
            EXPECT_EQ(game.Screens().FpsLabel().Right(), width - CGameScreens::kFpsRightMargin);
            const CGuiComponent& panel = game.Screens().LoadingPanel();
            EXPECT_LE(std::abs(panel.Left() + panel.Right() - width), 1);
            EXPECT_LE(game.Mouse().CursorX(), static_cast<float>(width - 1));
            EXPECT_LE(game.Mouse().CursorY(), static_cast<float>(height - 1));
            EXPECT_EQ(game.Screens().InputField().Frame().Left(), width / 2 - CInputFieldScreen::kWidth / 2);
            EXPECT_EQ(game.Screens().Inventory().Panel().Right(), width);
            EXPECT_EQ(game.Screens().Inventory().Panel().Bottom(), height);

            // The scene goes on rendering at the new size.
            game.DoFrame();
            std::vector<std::uint8_t> rgba;
            int shotWidth = 0;
            int shotHeight = 0;
            ASSERT_EQ(game.Renderer().Device().ReadBackBuffer(rgba, &shotWidth, &shotHeight), S_OK);
            EXPECT_EQ(shotWidth, width);
            EXPECT_EQ(shotHeight, height);
        }
        DRegistry settings(m_dir / "settings.toml");
        EXPECT_EQ(settings.ReadInt("fullscreen", -1, false), 0) << "the switch is not written back";
    }
}

TEST_F(CGameTest, TheInputFieldTheInventoryAndTheInfoTextFollowTheStores) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    game.DoFrame();
    const CGameScreens& screens = game.Screens();
    EXPECT_TRUE(screens.InputField().Visible());
    EXPECT_TRUE(screens.Inventory().PanelVisible());

    CScriptEngine& script = game.World().ScriptEngine();
    script.Run("setup.inputfield = false; setup.info = 'Score: 3';");
    game.DoFrame();
    EXPECT_FALSE(screens.InputField().Visible());
    EXPECT_FALSE(screens.Inventory().PanelVisible());
    EXPECT_EQ(screens.InputField().InfoText(), "Score: 3");

    // A name a script only asked about is not carried, nor one that is false or null.
    script.Run("setup.inputfield = true; inventory.rope = true; inventory.lamp = false; inventory.map = null;"
               "if (inventory.sword) state.x = 1;");
    game.DoFrame();
    EXPECT_TRUE(screens.Inventory().Items().empty()) << "a closed window is not refreshed";
    ASSERT_TRUE(game.HandleMessage(WM_CHAR, '\t', 0));
    game.DoFrame();
    EXPECT_TRUE(screens.Inventory().WindowVisible());
    EXPECT_EQ(screens.Inventory().Items(), (std::vector<std::string>{"rope"}));
    script.Run("inventory.axe = true;");
    game.DoFrame();
    EXPECT_EQ(screens.Inventory().Items(), (std::vector<std::string>{"axe", "rope"})) << "in the store's order";
}

// Opening and closing the menu without touching a slider gives every volume
// back as it was; the slider shows the nearest position.
TEST_F(CGameTest, TheMenuGivesTheVolumesBackUnchanged) {
    for (int volume = 0; volume <= CGameMenu::kVolumeMaximum; ++volume) {
        EXPECT_EQ(CGameMenu::VolumeOf(CGameMenu::SliderOf(volume)), volume) << volume;
    }
    EXPECT_EQ(CGameMenu::SliderOf(48), 75);
    EXPECT_EQ(CGameMenu::SliderOf(63), 98);

    WriteFile(m_dir / "settings.toml", "effectvolume = 63\nmusicvolume = 47\n");
    {
        CGame game(Options(), m_clock);
        game.Initialize(m_window);
        for (int i = 0; i < 3; ++i) {
            game.Menu().Open();
            game.Menu().Close();
        }
    }
    DRegistry settings(m_dir / "settings.toml");
    EXPECT_EQ(settings.ReadInt("effectvolume", -1, false), 63);
    EXPECT_EQ(settings.ReadInt("musicvolume", -1, false), 47);
}
