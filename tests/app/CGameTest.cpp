#include "app/CGame.h"

#include "platform/DClock.h"
#include "platform/DRegistry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class CGameTest : public ::testing::Test {
protected:
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
        {"resx", 1024},   {"resy", 768},    {"fullscreen", 1}, {"pickwindowhold", 0},
        {"texturequality", 2}, {"lighdows", 1}, {"shadows", 1},    {"mirrors", 1},
    };
    for (const auto& [name, value] : written) {
        EXPECT_EQ(settings.ReadInt(name, -1, false), value) << name;
    }
    for (const char* absent : {"preload", "clear", "showframerate"}) {
        EXPECT_EQ(settings.ReadInt(absent, -1, false), -1) << absent << " is read but never written";
    }
    EXPECT_EQ(settings.ReadString("startscene", "absent", false), "absent");
}

TEST_F(CGameTest, QualitySwitchesAreReadWithTheirRules) {
    WriteFile(m_dir / "settings.toml", "texturequality = 3\nshadows = 0\nlighdows = 5\npreload = 0\nclear = 2\n");
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

TEST_F(CGameTest, WindowedWhateverTheResolutionSays) {
    WriteFile(m_dir / "settings.toml", "resx = 1600\nresy = 1200\nfullscreen = 0\n");
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    EXPECT_FALSE(m_window.IsFullscreen());
    // The cursor stops at the last pixel of the 1024 x 768 client area, never at its width.
    m_window.Mouse().OnMotion(5000, 5000);
    game.DoFrame();
    EXPECT_EQ(game.CursorX(), 1023.0f);
    EXPECT_EQ(game.CursorY(), 767.0f);
    m_window.Mouse().OnMotion(-3000, 10);
    game.DoFrame();
    EXPECT_EQ(game.CursorX(), 0.0f);
    EXPECT_EQ(game.CursorY(), 767.0f);
}

TEST_F(CGameTest, CursorMovesTwicePerMouseUnit) {
    CGame game(Options(), m_clock);
    game.Initialize(m_window);
    m_window.Mouse().OnMotion(10, 20);
    game.DoFrame();
    EXPECT_EQ(game.CursorX(), 20.0f);
    EXPECT_EQ(game.CursorY(), 40.0f);
    game.DoFrame();
    EXPECT_EQ(game.CursorX(), 20.0f) << "no new mouse events: no movement";
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
