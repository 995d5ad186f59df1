#include "SoundTestSupport.h"

#include "script/CScriptEngine.h"
#include "script/IScriptEngineOwner.h"
#include "sound/CSoundData.h"
#include "sound/CSoundMultiSequencer.h"

#include <gtest/gtest.h>

namespace {

struct Reports : IScriptEngineOwner {
    std::vector<std::string> texts;
    void OnScriptException(const std::string& report) override { texts.push_back(report); }
};

class SoundScript : public testing::Test {
protected:
    void SetUp() override {
        script.SetOwner(&reports);
        script.AddObject(u"sound", rig.engine.get());
        rig.files.Write("door.raw", ToBytes(Constant(100, 1000, 1000)));
        rig.files.Write("bell.ogg", COggEncoder::Encode(Sine(2000, 880.0, 8000.0)));
    }

    Variant Eval(std::string_view text) {
        Variant result;
        EXPECT_TRUE(script.Run(text, &result)) << text << "\n"
                                               << (reports.texts.empty() ? "" : reports.texts.back());
        return result;
    }

    // Runs a text that must fail; returns its report.
    std::string Fail(std::string_view text) {
        const std::size_t before = reports.texts.size();
        EXPECT_FALSE(script.Run(text)) << text;
        return reports.texts.size() > before ? reports.texts.back() : std::string();
    }

    EngineRig rig;
    Reports reports;
    CScriptEngine script{"JScript", rig.clock};
};

TEST_F(SoundScript, EffectsAreReachableByNameAndClampTheirProperties) {
    Eval("sound.addeffect('door', 'door.raw'); sound.addstreameffect('bell', 'bell.ogg');");
    ASSERT_NE(rig.engine->FindEffect("bell"), nullptr);
    EXPECT_EQ(Eval("sound.door === sound.door && sound.door !== sound.bell"), Variant::Bool(true));
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"sound.door.volume", 64},
        {"sound.door.volume = 300; sound.door.volume", 256},
        {"sound.door.volume = -5; sound.door.volume", 0},
        {"sound.door.volume = '100'; sound.door.volume", 100},
        {"sound.door.pan", 0},
        {"sound.door.pan = -31; sound.door.pan", -31},
        {"sound.door.pan = -40; sound.door.pan", -32},
        {"sound.door.pan = 40; sound.door.pan", 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Eval(c.text), Variant::I4(c.value)) << c.text;
    }
}

TEST_F(SoundScript, EffectMethods) {
    Eval("sound.addeffect('door', 'door.raw');");
    CSoundData* door = rig.engine->FindEffect("door");
    Eval("sound.door.play(); sound.door.fade(10, 500);");
    EXPECT_TRUE(door->IsPlaying());
    EXPECT_TRUE(door->IsFading());
    Eval("sound.door.stop();");
    EXPECT_FALSE(door->IsPlaying());

    // A looping effect keeps playing past its end.
    Eval("sound.door.loop(); sound.door.play();");
    std::vector<std::uint8_t> bytes(1000);
    door->GetData(bytes.data(), bytes.size(), false);
    EXPECT_TRUE(door->IsPlaying());
}

TEST_F(SoundScript, ArgumentRules) {
    Fail("sound.addeffect('x');");
    Fail("sound.addeffect('x', 'door.raw', 1);");
    Fail("sound.addeffect(1, 'door.raw');");
    Fail("sound.definemusic('m', 3);");
    EXPECT_EQ(rig.engine->FindEffect("x"), nullptr);
    Fail("sound.playmusic('m');");

    Eval("sound.addeffect('door', 'door.raw');");
    CSoundData* door = rig.engine->FindEffect("door");
    Fail("sound.door.fade(10);");
    Fail("sound.door.play(1);");
    Fail("sound.door.Play();");
    EXPECT_FALSE(door->IsFading());
    EXPECT_FALSE(door->IsPlaying());
}

TEST_F(SoundScript, EngineErrorsBecomeScriptErrors) {
    Eval("sound.addeffect('door', 'door.raw');");
    EXPECT_NE(
        Fail("sound.addeffect('door', 'door.raw');").find("Exception:\nSound effect door already defined!"),
        std::string::npos);
    EXPECT_NE(Fail("sound.playmusic('none');").find("Exception:\nMusic none has not been defined"),
              std::string::npos);
    EXPECT_NE(Fail("sound.addeffect('gone', 'gone.ogg');").find("Exception:\nError opening file: 'gone.ogg'"),
              std::string::npos);
}

TEST_F(SoundScript, MusicFromScripts) {
    EXPECT_EQ(Eval("sound.currentmusic == null"), Variant::Bool(true));
    Eval("sound.definemusic('theme', \"sample_A='door.raw' chan_0='A' chan_1='A'\");"
         "sound.playmusic('theme', 0, 1000, 2000);"
         "sound.currentmusic.setvolume(1, 100);"
         "sound.currentmusic.fade(2, 30, 0);"
         "sound.currentmusic.setmasterchannel(1);");
    CSoundMultiSequencer* theme = rig.engine->CurrentMusic();
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->GetChannelVolume(1), 64);
    EXPECT_EQ(theme->GetChannelVolume(2), 30);
    EXPECT_EQ(theme->GetMasterChannel(), 1);
    EXPECT_EQ(Eval("sound.currentmusic.volume"), Variant::I4(0)) << "music fades in from silence";
    Fail("sound.currentmusic.setvolume(1);");
    Fail("sound.currentmusic.fade(1, 2);");

    Eval("sound.stopmusic(100);");
    EXPECT_EQ(Eval("sound.currentmusic == null"), Variant::Bool(true));
    EXPECT_EQ(rig.engine->FadingMusic(), theme);
}

} // namespace
