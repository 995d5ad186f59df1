#include "TestObject.h"

#include "platform/DClock.h"
#include "resources/CADVException.h"
#include "script/CScriptEngine.h"

#include <gtest/gtest.h>

namespace {

class ScriptEngineTest : public ::testing::Test {
protected:
    ScriptEngineTest() {
        engine.SetOwner(&owner);
        engine.AddObject(u"obj", &obj);
    }

    // Runs a text that must succeed and returns its completion value.
    Variant Eval(std::string_view text) {
        Variant result;
        EXPECT_TRUE(engine.Run(text, &result)) << text << "\n"
                                               << (owner.reports.empty() ? "" : owner.reports.back());
        return result;
    }

    std::u16string EvalText(std::string_view text) { return Eval(text).BstrValue(); }

    // Runs a text that must fail and returns the one report it produced.
    std::string Fail(std::string_view text) {
        const std::size_t before = owner.reports.size();
        EXPECT_FALSE(engine.Run(text)) << text;
        EXPECT_EQ(owner.reports.size(), before + 1) << text;
        return owner.reports.size() > before ? owner.reports.back() : std::string();
    }

    DClock clock{DClock::Mode::Manual, 1000};
    RecordingOwner owner;
    TestObject obj;
    CScriptEngine engine{"JScript", clock};
};

TEST_F(ScriptEngineTest, OnlyJScriptIsAvailable) {
    try {
        CScriptEngine other("VBScript", clock);
        FAIL() << "VBScript engine was created";
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(), "Exception:\nCould not get CLSID of requested language.");
    }
}

TEST_F(ScriptEngineTest, CompletionValuesKeepTheirTypes) {
    EXPECT_EQ(Eval("1 + 2"), Variant::I4(3));
    EXPECT_EQ(Eval("1.5"), Variant::R8(1.5));
    EXPECT_EQ(Eval("4294967296"), Variant::R8(4294967296.0));
    EXPECT_EQ(Eval("'text'"), Variant::Bstr(u"text"));
    EXPECT_EQ(Eval("1 == 1"), Variant::Bool(true));
    EXPECT_EQ(Eval("null"), Variant::Null());
    EXPECT_EQ(Eval("var unused = 1;").Type(), VT_EMPTY);
}

TEST_F(ScriptEngineTest, PropertiesAndMethodsReachTheObject) {
    Eval("obj.value = 'hello';");
    EXPECT_EQ(obj.value, Variant::Bstr(u"hello"));
    obj.value = Variant::I4(41);
    EXPECT_EQ(Eval("obj.value + 1"), Variant::I4(42));
    EXPECT_EQ(EvalText("obj.echo('a', 2, 2.5, true, null, undefined, obj)"),
              u"s:a,i:2,r,b:true,null,empty,object");
    EXPECT_EQ(Eval("obj.add(40, '2')"), Variant::I4(42));
    // A method read without a call is a function, and the same one every time.
    EXPECT_EQ(Eval("typeof obj.echo == 'function' && obj.echo === obj.echo"), Variant::Bool(true));
}

TEST_F(ScriptEngineTest, RecordsArriveAsPlainObjectsTheScriptOwns) {
    obj.value = Variant::Record({{u"x", 1.5}, {u"y", -2.0}});
    EXPECT_EQ(Eval("var p = obj.value; p.x + p.y"), Variant::R8(-0.5));
    // Each read is a fresh object: changing one leaves the engine's value and later reads alone.
    EXPECT_EQ(Eval("p.x = 10; var q = obj.value; q.x + ',' + (p === q) + ',' + Object.keys(q).join('')"),
              Variant::Bstr(u"1.5,false,xy"));
}

TEST_F(ScriptEngineTest, ObjectsKeepTheirIdentity) {
    obj.child = std::make_unique<TestObject>();
    obj.named[u"door"] = std::make_unique<TestObject>();
    EXPECT_EQ(Eval("obj.self() === obj && obj.child === obj.child && obj.door === obj.door"),
              Variant::Bool(true));
    EXPECT_EQ(Eval("obj.child === obj.door"), Variant::Bool(false));
    Eval("obj.door.value = 7;");
    EXPECT_EQ(obj.named[u"door"]->value, Variant::I4(7));
    // An object handed back to the engine arrives as the same object.
    Eval("obj.value = obj.child;");
    EXPECT_EQ(obj.value.DispatchValue(), obj.child.get());
}

TEST_F(ScriptEngineTest, DispatchFailuresBecomeScriptErrors) {
    struct Case {
        const char* script;
        const char* expected;
    };
    const Case cases[] = {
        {"obj.Echo('x');", "DISP_E_UNKNOWNNAME"}, // names are case-sensitive
        {"obj.nothing;", "DISP_E_UNKNOWNNAME"},
        {"obj.add(1);", "DISP_E_BADPARAMCOUNT"},
        {"obj.add(1, 2, 3);", "DISP_E_BADPARAMCOUNT"},
        {"obj.add('one', 2);", "DISP_E_TYPEMISMATCH"},
        {"addevent('only one');", "DISP_E_BADPARAMCOUNT"},
        {"addevent('name', 5);", "DISP_E_BADVARTYPE"},
        {"signal(5);", "DISP_E_BADVARTYPE"},
        {"debug_messagebox('hello');", "DISP_E_BADPARAMCOUNT"},
    };
    for (const Case& c : cases) {
        const std::string report = Fail(c.script);
        EXPECT_NE(report.find(c.expected), std::string::npos) << c.script << "\n" << report;
    }
    // Nothing was registered by the rejected addevent calls.
    EXPECT_NE(Fail("signal('name');").find("Event with name name has not been defined"), std::string::npos);
}

TEST_F(ScriptEngineTest, EngineExceptionsReachTheScriptWithTheirFullText) {
    EXPECT_EQ(Fail("var a = 1;\nobj.fail();"),
              "Exception:\nScript Exception on line 2, pos 1:\nLine: obj.fail();\n\n"
              "Exception:\nTestObject::Fail - it broke with \"quotes\"");
    // Scripts can catch them like any error and see the text.
    EXPECT_EQ(EvalText("var m; try { obj.fail(); } catch (e) { m = e.message; } m"),
              u"Exception:\nTestObject::Fail - it broke with \"quotes\"");
}

TEST_F(ScriptEngineTest, SyntaxAndRuntimeErrorsAreReportedWithTheirLine) {
    EXPECT_EQ(Fail("var a = 1;\n\nvar s = 'unterminated;\nvar b;"),
              "Exception:\nScript Exception on line 3, pos 1:\nLine: var s = 'unterminated;\n\n"
              "SyntaxError: unterminated string (line 3)");
    // An error inside a function defined by an earlier text shows that text's line.
    Eval("function Broken() {\n  var x = 1;\n  return missing + x;\n}");
    const std::string report = Fail("Broken();");
    EXPECT_EQ(
        report.rfind("Exception:\nScript Exception on line 3, pos 1:\nLine:   return missing + x;\n\n", 0),
        0u)
        << report;
    EXPECT_NE(report.find("missing"), std::string::npos);
    // Thrown values that are not Error objects still name their line.
    EXPECT_EQ(Fail("var a;\nfunction Thrower() {\n  throw 'plain text';\n}\nThrower();"),
              "Exception:\nScript Exception on line 3, pos 1:\nLine:   throw 'plain text';\n\nplain text");
}

TEST_F(ScriptEngineTest, ErrorsInAScriptFileNameTheFile) {
    EXPECT_FALSE(engine.RunFile("cellar.scs", "var a = 1;\nvar b = ;\n"));
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0].rfind("Exception:\nScript Exception in cellar.scs on line 2, pos 1:\nLine: var b = ;\n\n",
                                      0),
              0u)
        << owner.reports[0];
    // A function of the file that fails when called later still names it; the call's own text names none.
    EXPECT_TRUE(engine.RunFile("door.obs", "function OnEvent(e, p) {\n  return missing;\n}\n"));
    const Variant args[] = {Variant::Bstr(u"open"), Variant::Bstr(u"")};
    EXPECT_FALSE(engine.Call("OnEvent", args));
    ASSERT_EQ(owner.reports.size(), 2u);
    EXPECT_EQ(owner.reports[1].rfind("Exception:\nScript Exception in door.obs on line 2, pos 1:\nLine:   return missing;", 0),
              0u)
        << owner.reports[1];
    EXPECT_EQ(Fail("nothing.here();").find(" in "), std::string::npos);
}

TEST_F(ScriptEngineTest, OnlyTheNewestTextsFromNoFileKeepTheirSourceLines) {
    // A long-lived engine that runs many texts keeps a bounded number of them.
    const std::size_t texts = CScriptEngine::kAnonymousSourcesKept + 10;
    for (std::size_t i = 0; i < texts; ++i) {
        Eval("function F" + std::to_string(i) + "() {\n  return missing" + std::to_string(i) + ";\n}");
    }
    EXPECT_EQ(Fail("F0();").find("Line:   return missing0;"), std::string::npos) << "the oldest is forgotten";
    const std::string newest = std::to_string(texts - 1);
    EXPECT_NE(Fail("F" + newest + "();").find("Line:   return missing" + newest + ";"), std::string::npos);
    // A file's text is kept once under its name, however often it runs.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(engine.RunFile("lib.js", "function G() {\n  return gone;\n}"));
    }
    EXPECT_NE(Fail("G();").find("in lib.js on line 2"), std::string::npos);
}

TEST_F(ScriptEngineTest, ErrorsLeaveTheEngineUsable) {
    Eval("var counter = 0; function OnIdle(ms) { counter += ms; if (ms == 13) throw new Error('bad frame'); "
         "}");
    const Variant frame = Variant::I4(13);
    EXPECT_FALSE(engine.Call("OnIdle", {&frame, 1}));
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_NE(owner.reports[0].find("bad frame"), std::string::npos);
    const Variant next = Variant::I4(16);
    EXPECT_TRUE(engine.Call("OnIdle", {&next, 1}));
    EXPECT_EQ(Eval("counter"), Variant::I4(29));
    // Callbacks a script leaves out are skipped quietly, whatever the global holds.
    const std::size_t reports = owner.reports.size();
    Eval("var NotAFunction = 3;");
    EXPECT_FALSE(engine.Call("OnMissing"));
    EXPECT_FALSE(engine.Call("NotAFunction"));
    EXPECT_EQ(owner.reports.size(), reports);
}

TEST_F(ScriptEngineTest, FailingErrorHandlerDoesNotRecurse) {
    // An owner that runs the script's own handler, as the game does.
    struct HandlerOwner : IScriptEngineOwner {
        CScriptEngine* engine = nullptr;
        int reports = 0;
        void OnScriptException(const std::string&) override {
            ++reports;
            engine->Run("OnScriptException();");
        }
    } handler;
    handler.engine = &engine;
    engine.SetOwner(&handler);
    Eval("function OnScriptException() { throw new Error('handler broken'); }");
    EXPECT_FALSE(engine.Run("undefinedFunction();"));
    EXPECT_EQ(handler.reports, 1);
    EXPECT_TRUE(engine.Run("1;"));
}

TEST_F(ScriptEngineTest, NamesScriptsMadeUnchangeableAreReported) {
    Eval("Object.defineProperty(this, 'locked', {value: 1, writable: false, configurable: false});");
    try {
        engine.AddObject(u"locked", &obj);
        FAIL() << "no exception";
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(), "Exception:\nCould not add object to scripting engine.");
    }
    EXPECT_EQ(Eval("locked"), Variant::I4(1));
}

TEST_F(ScriptEngineTest, CallsPassValuesUnchanged) {
    Eval("function Join(a, b, c) { return a + '|' + b + '|' + typeof c; }");
    const std::u16string tricky = u"quote \" apostrophe ' backslash \\ newline \n end";
    const Variant args[] = {Variant::Bstr(tricky), Variant::Bstr(u"\");obj.value=1;(\""), Variant::R8(0.5)};
    Variant result;
    ASSERT_TRUE(engine.Call("Join", args, &result));
    EXPECT_EQ(result.BstrValue(), tricky + u"|\");obj.value=1;(\"|number");
    EXPECT_EQ(obj.value.Type(), VT_EMPTY);
}

TEST_F(ScriptEngineTest, JScriptHabitsKeepWorking) {
    Eval("if (true) { function InBlock() { return 'block'; } }");
    Eval("function Later(x) { return InBlock() + x; }");
    EXPECT_EQ(EvalText("Later('!')"), u"block!");
    EXPECT_EQ(Eval("Math.max(3, Math.floor(7.8))"), Variant::I4(7));
    EXPECT_EQ(EvalText("'Hello World'.substring(6).toUpperCase().split('O').join('0')"), u"W0RLD");
}

TEST_F(ScriptEngineTest, LanguageKeysNeverBecomeMemberLookups) {
    obj.lookedUp.clear();
    Eval("var s = String(obj) + obj + JSON.stringify(obj); obj.toString(); obj.valueOf(); obj.constructor;");
    EXPECT_TRUE(obj.lookedUp.empty()) << "looked up: " << obj.lookedUp.size();
}

TEST_F(ScriptEngineTest, DestroyedObjectsAreDetached) {
    obj.child = std::make_unique<TestObject>();
    Eval("var kept = obj.child; var keptEcho = kept.echo; kept.value = 3;");
    obj.child.reset();
    for (const char* access : {"kept.value;", "kept.value = 4;", "kept.echo();", "keptEcho();"}) {
        const std::string report = Fail(access);
        EXPECT_NE(report.find("no longer available"), std::string::npos) << access << "\n" << report;
    }
    EXPECT_EQ(Eval("obj.child"), Variant::Null());
    // A new object (possibly at the same address) gets a fresh proxy.
    obj.child = std::make_unique<TestObject>();
    EXPECT_EQ(Eval("obj.child !== kept && obj.child.add(1, 1) == 2"), Variant::Bool(true));
}

TEST_F(ScriptEngineTest, ManyShortLivedObjectsStayCorrect) {
    // Proxies of destroyed objects are swept; live ones keep their identity.
    obj.child = std::make_unique<TestObject>();
    Eval("var first = obj.child;");
    for (int i = 0; i < 300; ++i) {
        obj.named[u"tmp"] = std::make_unique<TestObject>();
        Eval("obj.tmp.value = 1;");
        obj.named.erase(u"tmp");
    }
    EXPECT_EQ(Eval("first === obj.child"), Variant::Bool(true));
}

TEST_F(ScriptEngineTest, AnsiTextReachesTheScriptAsUnicode) {
    EXPECT_EQ(Eval("'caf\xE9 \x80'"), Variant::Bstr(u"caf\u00E9 \u20AC"));
}

} // namespace
