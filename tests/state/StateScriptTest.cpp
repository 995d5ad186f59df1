#include "platform/DClock.h"
#include "script/CScriptEngine.h"
#include "script/IScriptEngineOwner.h"
#include "state/CState.h"

#include <gtest/gtest.h>

namespace {

struct Owner : IScriptEngineOwner {
    std::vector<std::string> reports;
    void OnScriptException(const std::string& report) override { reports.push_back(report); }
};

// A store published to a real script engine, as the game publishes "state".
class StateScriptTest : public ::testing::Test {
protected:
    StateScriptTest() {
        engine.SetOwner(&owner);
        engine.AddObject(u"state", &store);
    }

    Variant Eval(std::string_view text) {
        Variant result;
        EXPECT_TRUE(engine.Run(text, &result)) << text << "\n"
                                               << (owner.reports.empty() ? "" : owner.reports.back());
        return result;
    }

    std::string Fail(std::string_view text) {
        EXPECT_FALSE(engine.Run(text)) << text;
        return owner.reports.empty() ? std::string() : owner.reports.back();
    }

    DClock clock{DClock::Mode::Manual};
    Owner owner;
    CState store;
    CScriptEngine engine{"JScript", clock};
};

TEST_F(StateScriptTest, ScriptsCreateAndUseVariables) {
    Eval("state.door = 'open'; state.count2 = 2; state.half = 0.5; state.flag = true;");
    EXPECT_EQ(store.GetVariant(u"door"), Variant::Bstr(u"open"));
    EXPECT_EQ(store.GetVariant(u"count2"), Variant::I4(2));
    EXPECT_EQ(store.GetVariant(u"half"), Variant::R8(0.5));
    EXPECT_TRUE(store.GetBool(u"flag"));
    store.SetVariant(u"fromEngine", Variant::I4(40));
    EXPECT_EQ(Eval("state.fromEngine + state.count2"), Variant::I4(42));
    EXPECT_EQ(Eval("state.Door === undefined"), Variant::Bool(true)); // case-sensitive
    Eval("state['two words'] = 'x'; state[5] = 'five'; state['caf\xE9'] = 1;");
    EXPECT_EQ(store.GetVariant(u"two words"), Variant::Bstr(u"x"));
    EXPECT_EQ(store.GetVariant(u"5"), Variant::Bstr(u"five"));
    EXPECT_EQ(store.GetVariant(u"caf\u00E9"), Variant::I4(1));
}

TEST_F(StateScriptTest, ReadingAnUnknownNameCreatesAnEmptyVariable) {
    store.ClearModified();
    EXPECT_EQ(Eval("typeof state.never").BstrValue(), u"undefined");
    EXPECT_EQ(store.GetVariant(u"never").Type(), VT_EMPTY);
    EXPECT_FALSE(store.IsModified());
    Eval("state.never = 1;");
    EXPECT_TRUE(store.IsModified());
}

TEST_F(StateScriptTest, CountNameAndValueEnumerateTheStore) {
    Eval("state.b = 2; state.a = 'one';");
    EXPECT_EQ(Eval("var s = ''; for (var i = 0; i < state.count(); i++) s += state.name(i) + '=' + "
                   "state.value(i) + ';'; s")
                  .BstrValue(),
              u"a=one;b=2;");
    EXPECT_EQ(Eval("state.name(-1)").BstrValue(), u"a");
    EXPECT_EQ(Eval("state.name(2)").Type(), VT_EMPTY);
    // The fixed names are never variables.
    EXPECT_EQ(Eval("typeof state.count").BstrValue(), u"function");
    EXPECT_TRUE(owner.reports.empty());
}

TEST_F(StateScriptTest, WrongCallsAreScriptErrors) {
    struct Case {
        const char* script;
        const char* expected;
    };
    const Case cases[] = {
        {"state.value(1.5);", "DISP_E_BADVARTYPE"},
        {"state.name('0');", "DISP_E_BADVARTYPE"},
        {"state.value();", "DISP_E_BADPARAMCOUNT"},
        {"state.name(0, 1);", "DISP_E_BADPARAMCOUNT"},
    };
    for (const Case& c : cases) {
        const std::string report = Fail(c.script);
        EXPECT_NE(report.find(c.expected), std::string::npos) << c.script << "\n" << report;
    }
}

TEST_F(StateScriptTest, LanguageKeysDoNotCreateVariables) {
    Eval("var s = String(state) + state + JSON.stringify(state); state.toString(); state.valueOf();");
    EXPECT_EQ(store.FirstName(), u"");
}

TEST_F(StateScriptTest, StoredObjectsAreWeak) {
    auto other = std::make_unique<CState>();
    engine.AddObject(u"other", other.get());
    Eval("state.link = other; other.x = 1;");
    EXPECT_EQ(Eval("state.link === other && state.link.x == 1"), Variant::Bool(true));
    engine.AddObject(u"other", &store); // the name now means another object
    other.reset();
    EXPECT_EQ(Eval("state.link"), Variant::Null());
    EXPECT_EQ(store.ToJson(), "{\"link\": \"[object]\"}");
}

} // namespace
