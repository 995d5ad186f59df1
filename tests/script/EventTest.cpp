#include "TestObject.h"

#include "platform/DClock.h"
#include "script/CScriptEngine.h"

#include <gtest/gtest.h>

namespace {

// Events go through real scripts: OnEvent appends what arrived to `log`.
class EventTest : public ::testing::Test {
protected:
    EventTest() {
        engine.SetOwner(&owner);
        Run("var log = ''; function OnEvent(name, param) { log += '[' + name + ':' + param + ']'; }");
    }

    void Run(std::string_view text) { EXPECT_TRUE(engine.Run(text)) << text; }

    std::u16string Log() {
        Variant result;
        engine.Run("log", &result);
        return result.BstrValue();
    }

    void Frame(std::uint32_t ms) {
        clock.Advance(ms);
        engine.ProcessEvents();
    }

    DClock clock{DClock::Mode::Manual, 0xFFFFFF00u}; // near the wrap of the tick counter
    RecordingOwner owner;
    CScriptEngine engine{"JScript", clock};
};

TEST_F(EventTest, DelayedEventFiresOnceAfterItsDelay) {
    Run("addevent('timer', 'p', 500);");
    Frame(499);
    EXPECT_EQ(Log(), u"");
    Frame(1);
    EXPECT_EQ(Log(), u"[timer:p]");
    Frame(1000);
    EXPECT_EQ(Log(), u"[timer:p]");
}

TEST_F(EventTest, EventWithoutDelayWaitsForItsSignal) {
    Run("addevent('door', 'open'); addevent('zero', 'z', 0);");
    Frame(10000);
    EXPECT_EQ(Log(), u"");
    Run("signal('zero'); signal('door'); signal('door');");
    Frame(0);
    // Walked oldest first; signalled twice still fires once.
    EXPECT_EQ(Log(), u"[door:open][zero:z]");
    Frame(0);
    EXPECT_EQ(Log(), u"[door:open][zero:z]");
}

TEST_F(EventTest, SignalMarksTheOldestEventOfAName) {
    Run("addevent('e', 'first'); addevent('e', 'second'); signal('e'); signal('e');");
    Frame(0);
    EXPECT_EQ(Log(), u"[e:first]");
    Run("signal('e');");
    Frame(0);
    EXPECT_EQ(Log(), u"[e:first][e:second]");
}

TEST_F(EventTest, HandlersRegisteringEventsFireThemOnALaterPass) {
    Run("function OnEvent(name, param) { log += name; if (name == 'tick') addevent('tick', '', 100);"
        " if (name == 'a') { addevent('b', ''); signal('b'); } }");
    Run("addevent('tick', '', 100); addevent('a', ''); signal('a');");
    Frame(100);
    // 'b' lies after the current position and was signalled: same pass. The new
    // 'tick' waits for its own delay.
    EXPECT_EQ(Log(), u"tickab");
    Frame(50);
    EXPECT_EQ(Log(), u"tickab");
    Frame(50);
    EXPECT_EQ(Log(), u"tickabtick");
}

TEST_F(EventTest, SignalInsideAHandlerMarksTheFiringEvent) {
    Run("function OnEvent(name, param) { log += param; signal('e'); }");
    Run("addevent('e', '1'); addevent('e', '2'); signal('e');");
    Frame(0);
    EXPECT_EQ(Log(), u"1");
    Run("signal('e');");
    Frame(0);
    EXPECT_EQ(Log(), u"12");
}

TEST_F(EventTest, NamesAndParametersArriveUnchanged) {
    Run("function OnEvent(name, param) { log = name + '|' + param; }");
    engine.AddEvent(u"it's \"quoted\"", u"back\\slash\nline');obj.x=1;//", 0);
    engine.Signal(u"it's \"quoted\"");
    Frame(0);
    EXPECT_EQ(Log(), u"it's \"quoted\"|back\\slash\nline');obj.x=1;//");
    EXPECT_TRUE(owner.reports.empty());
}

TEST_F(EventTest, MissingHandlerIsReportedAndTheEventIsGone) {
    Run("OnEvent = undefined; addevent('x', 'y', 10);");
    Frame(10);
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_NE(owner.reports[0].find("OnEvent"), std::string::npos);
    Frame(10);
    EXPECT_EQ(owner.reports.size(), 1u);
}

TEST_F(EventTest, SignalOfAnUnknownNameIsAScriptError) {
    EXPECT_FALSE(engine.Run("signal('nobody here');"));
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0],
              "Exception:\nScript Exception on line 1, pos 1:\nLine: signal('nobody here');\n\n"
              "Exception:\nEvent with name nobody here has not been defined for this script engine");
}

TEST_F(EventTest, ThrowingHandlerDoesNotStopTheOtherEvents) {
    Run("function OnEvent(name, param) { if (name == 'bad') throw 'oops'; log += name; }");
    Run("addevent('bad', ''); addevent('good', ''); signal('bad'); signal('good');");
    Frame(0);
    EXPECT_EQ(Log(), u"good");
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_NE(owner.reports[0].find("oops"), std::string::npos);
}

} // namespace
