#include "TestObject.h"

#include "script/TextConversion.h"
#include "script/Variant.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConversionTest, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::u16string wide = AnsiToWide(all);
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(wide[0x9F - 1], u'\u0178');
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(WideToAnsi(wide), all);
    EXPECT_EQ(WideToAnsi(u"\u4E2D\U0001F600x"), "???x");
}

TEST(TextConversionTest, Utf8AndCesu8) {
    const std::u16string text = u"a\u00E9\u20AC\U0001F600";
    EXPECT_EQ(WideToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(WideToCesu8(text), "a\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(Utf8ToWide(WideToCesu8(text)), text);
    EXPECT_EQ(Utf8ToWide("x\xC3"), u"x\uFFFD"); // cut short
    EXPECT_EQ(Utf8ToWide("\xFFy"), u"\uFFFDy");
    EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
}

TEST(VariantChangeTypeTest, ConvertsAsAutomationDoes) {
    struct Case {
        Variant in;
        VARTYPE to;
        HRESULT hr;
        Variant out;
    };
    const Case cases[] = {
        {Variant::R8(2.5), VT_I4, S_OK, Variant::I4(2)}, // half to even
        {Variant::R8(3.5), VT_I4, S_OK, Variant::I4(4)},
        {Variant::R8(-2.5), VT_I4, S_OK, Variant::I4(-2)},
        {Variant::R8(3e10), VT_I4, DISP_E_OVERFLOW, Variant()},
        {Variant::I4(70000), VT_I2, DISP_E_OVERFLOW, Variant()},
        {Variant::I4(-5), VT_R8, S_OK, Variant::R8(-5.0)},
        {Variant::Bstr(u" 12 "), VT_I4, S_OK, Variant::I4(12)},
        {Variant::Bstr(u"-1.5e2"), VT_R8, S_OK, Variant::R8(-150.0)},
        {Variant::Bstr(u"+7"), VT_I4, S_OK, Variant::I4(7)},
        {Variant::Bstr(u"12abc"), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Bstr(u"inf"), VT_R8, DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Bstr(u""), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
        {Variant::Bool(true), VT_I4, S_OK, Variant::I4(-1)},
        {Variant::I4(2), VT_BOOL, S_OK, Variant::Bool(true)},
        {Variant(), VT_I4, S_OK, Variant::I4(0)},
        {Variant::Null(), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
        {Variant::R8(1.5), VT_BSTR, DISP_E_TYPEMISMATCH, Variant()},
    };
    for (const Case& c : cases) {
        Variant out;
        EXPECT_EQ(VariantChangeType(out, c.in, c.to), c.hr) << "to " << c.to;
        EXPECT_EQ(out, c.out) << "to " << c.to;
    }
}

TEST(VariantTest, ObjectReferencesAreWeak) {
    auto object = std::make_unique<TestObject>();
    const Variant held = Variant::Dispatch(object.get());
    EXPECT_EQ(held.DispatchValue(), object.get());
    object.reset();
    EXPECT_EQ(held.Type(), VT_DISPATCH);
    EXPECT_EQ(held.DispatchValue(), nullptr);
}

TEST(DispatchBaseTest, MemberTableLookup) {
    TestObject object;
    object.named[u"door"] = std::make_unique<TestObject>();
    object.named[u"lamp"] = std::make_unique<TestObject>();
    // A lookup that throws is an unknown name, not an exception inside the script engine.
    const std::u16string_view names[] = {u"value", u"echo", u"add", u"lamp", u"Echo", u"door", u"broken"};
    const DISPID expected[] = {0x10000, 0x10001, 0x10005, 0x20001, DISPID_UNKNOWN, 0x20000, DISPID_UNKNOWN};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        DISPID id = 0;
        const HRESULT hr = object.GetIDsOfNames(IID_NULL, {&names[i], 1}, &id);
        EXPECT_EQ(id, expected[i]);
        EXPECT_EQ(hr, expected[i] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
    }
    // Several names: each gets its id, the result is that of the last one.
    DISPID ids[2] = {};
    EXPECT_EQ(object.GetIDsOfNames(IID_NULL, {names + 4, 2}, ids), S_OK);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
    DISPID id = 0;
    EXPECT_EQ(object.GetIDsOfNames(IID{1}, {names, 1}, &id), DISP_E_UNKNOWNINTERFACE);
    EXPECT_TRUE(object.IsMethod(0x10001));
    EXPECT_FALSE(object.IsMethod(0x10000));
    EXPECT_FALSE(object.IsMethod(0x20000));
}

TEST(DispatchBaseTest, EngineExceptionBecomesDispException) {
    TestObject object;
    EXCEPINFO info;
    Variant result;
    EXPECT_EQ(object.Invoke(0x10002, IID_NULL, DISPATCH_METHOD, {}, &result, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.wCode, 1000);
    EXPECT_EQ(info.scode, DISP_E_EXCEPTION);
    EXPECT_EQ(info.bstrDescription, u"Exception:\nTestObject::Fail - it broke with \"quotes\"");
    // Without an EXCEPINFO the code alone comes back.
    EXPECT_EQ(object.Invoke(0x10002, IID_NULL, DISPATCH_METHOD, {}, nullptr, nullptr), DISP_E_EXCEPTION);
}

TEST(DispatchBaseTest, ReferenceCountDestroysAtZero) {
    auto* object = new TestObject; // the count starts at 1
    const auto life = object->Life();
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(life->object, nullptr);
}

} // namespace
