#include "resources/CADVException.h"
#include "state/CState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "(no exception)";
}

Bytes SaveOf(const CState& store) {
    Bytes bytes;
    store.Save(bytes);
    return bytes;
}

TEST(StateTest, EngineSideReadsAndWrites) {
    CState store;
    EXPECT_FALSE(store.IsModified());
    store.SetVariant(u"scene", Variant::Bstr(u"hall"));
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(store.GetVariant(u"scene"), Variant::Bstr(u"hall"));
    store.SetBool(u"input", true);
    EXPECT_EQ(store.GetVariant(u"input"), Variant::BoolRaw(-1));
    EXPECT_TRUE(store.GetBool(u"input"));
    store.SetVariant(u"one", Variant::I4(1));
    EXPECT_EQ(ErrorOf([&] { store.GetVariant(u"Scene"); }),
              "Exception:\nCState::GetVariant - State variable Scene is not defined!");
    EXPECT_EQ(ErrorOf([&] { store.GetBool(u"one"); }),
              "Exception:\nCState::GetBool - Key one has no boolean value");
    EXPECT_EQ(ErrorOf([&] { store.GetBool(u"caf\u00E9"); }),
              "Exception:\nCState::GetVariant - State variable caf\xE9 is not defined!");
    store.ClearModified();
    EXPECT_FALSE(store.IsModified());
}

TEST(StateTest, NamesWalkInCodeUnitOrder) {
    CState store;
    EXPECT_EQ(store.FirstName(), u"");
    EXPECT_EQ(store.NextName(), u"");
    for (const char16_t* name : {u"b", u"a", u"B", u"\u00E9"}) {
        store.SetBool(name, true);
    }
    std::vector<std::u16string> names;
    for (std::u16string name = store.FirstName(); !name.empty(); name = store.NextName()) {
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"B", u"a", u"b", u"\u00E9"}));
    EXPECT_EQ(store.NextName(), u"");
}

TEST(StateTest, BackupAndRestore) {
    CState store;
    store.SetVariant(u"a", Variant::I4(1));
    store.Backup();
    store.SetVariant(u"a", Variant::I4(2));
    store.SetVariant(u"b", Variant::I4(3));
    store.Restore();
    EXPECT_EQ(store.GetVariant(u"a"), Variant::I4(1));
    // The name stays known; its value did not exist at the backup.
    EXPECT_EQ(store.GetVariant(u"b").Type(), VT_EMPTY);
    // The backup is used up: a second Restore empties the values.
    store.Restore();
    EXPECT_EQ(store.GetVariant(u"a").Type(), VT_EMPTY);
}

TEST(StateRecordTest, EmptyStoreIsACountOfZero) {
    CState store;
    EXPECT_EQ(SaveOf(store), (Bytes{0, 0, 0, 0}));
    store.SetVariant(u"x", Variant::I4(1));
    EXPECT_EQ(store.Load(Bytes{0, 0, 0, 0}, "test"), 4u);
    EXPECT_EQ(store.FirstName(), u"");
}

TEST(StateRecordTest, BytesFollowTheRecordLayout) {
    CState store;
    store.SetVariant(u"b", Variant::Bool(true));
    store.SetVariant(u"e", Variant::Bstr(u""));
    store.SetVariant(u"f", Variant::R4(1.0f));
    store.SetVariant(u"i", Variant::I4(-2));
    store.SetVariant(u"n", Variant::Null());
    store.SetVariant(u"r", Variant::R8(2.0));
    store.SetVariant(u"s", Variant::Bstr(u"h\u00E9"));
    const Bytes expected = {
        7, 0, 0, 0,                                                      // count
        1, 0, 0, 0, 'b', 0, 0, 0, 11, 0, 0xFF, 0xFF,                     // "b": VT_BOOL true
        1, 0, 0, 0, 'e', 0, 0, 0, 8,  0, 0,    0,    0,    0,    0,   0, // "e": VT_BSTR of length 0
        1, 0, 0, 0, 'f', 0, 0, 0, 4,  0, 0,    0,    0x80, 0x3F,         // "f": VT_R4 1.0
        1, 0, 0, 0, 'i', 0, 0, 0, 3,  0, 0xFE, 0xFF, 0xFF, 0xFF,         // "i": VT_I4 -2
        1, 0, 0, 0, 'n', 0, 0, 0, 1,  0,                                 // "n": VT_NULL, type only
        1, 0, 0, 0, 'r', 0, 0, 0, 5,  0, 0,    0,    0,    0,    0,   0, 0,    0x40, // "r": VT_R8 2.0
        1, 0, 0, 0, 's', 0, 0, 0, 8,  0, 2,    0,    0,    0,    'h', 0, 0xE9, 0,
        0, 0, // "s": VT_BSTR "hé"
    };
    EXPECT_EQ(SaveOf(store), expected);

    CState loaded;
    EXPECT_EQ(loaded.Load(expected, "test"), expected.size());
    EXPECT_EQ(SaveOf(loaded), expected);
    EXPECT_EQ(loaded.GetVariant(u"s"), Variant::Bstr(u"h\u00E9"));
    EXPECT_EQ(loaded.GetVariant(u"f"), Variant::R4(1.0f));
    EXPECT_EQ(loaded.GetVariant(u"r"), Variant::R8(2.0));
    EXPECT_EQ(loaded.GetVariant(u"i"), Variant::I4(-2));
    EXPECT_TRUE(loaded.GetBool(u"b"));
    EXPECT_EQ(loaded.GetVariant(u"n"), Variant::Null());
}

TEST(StateRecordTest, UnstoredTypesComeBackAsTypeOnly) {
    CState store;
    store.SetVariant(u"small", Variant::I2(12));
    store.SetVariant(u"self", Variant::Dispatch(&store));
    store.SetVariant(u"empty", Variant());
    CState loaded;
    loaded.Load(SaveOf(store), "test");
    EXPECT_EQ(loaded.GetVariant(u"small"), Variant::I2(0));
    EXPECT_EQ(loaded.GetVariant(u"self").Type(), VT_DISPATCH);
    EXPECT_EQ(loaded.GetVariant(u"self").DispatchValue(), nullptr);
    EXPECT_EQ(loaded.GetVariant(u"empty").Type(), VT_EMPTY);
}

TEST(StateRecordTest, LoadReportsWhatItConsumedAndKeepsDispidsRunning) {
    CState store;
    store.SetVariant(u"a", Variant::I4(5));
    Bytes bytes = SaveOf(store);
    const std::size_t size = bytes.size();
    bytes.push_back(0xAB); // whatever follows in a savegame

    const std::u16string_view name = u"a";
    DISPID before = 0;
    ASSERT_EQ(store.GetIDsOfNames(IID_NULL, {&name, 1}, &before), S_OK);
    EXPECT_EQ(store.Load(bytes, "test"), size);
    Variant result;
    ASSERT_EQ(store.Invoke(before, IID_NULL, DISPATCH_PROPERTYGET, {}, &result, nullptr), S_OK);
    EXPECT_EQ(result, Variant::Null()); // the old DISPID has no value any more
    DISPID after = 0;
    ASSERT_EQ(store.GetIDsOfNames(IID_NULL, {&name, 1}, &after), S_OK);
    EXPECT_NE(after, before);
    ASSERT_EQ(store.Invoke(after, IID_NULL, DISPATCH_PROPERTYGET, {}, &result, nullptr), S_OK);
    EXPECT_EQ(result, Variant::I4(5));
}

TEST(StateRecordTest, DamagedRecordsFailClearlyAndChangeNothing) {
    CState source;
    source.SetVariant(u"name", Variant::Bstr(u"text"));
    source.SetVariant(u"num", Variant::R8(1.5));
    const Bytes good = SaveOf(source);

    std::vector<std::pair<const char*, Bytes>> cases;
    for (std::size_t length = 0; length < good.size(); ++length) {
        cases.emplace_back("truncated",
                           Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
    }
    cases.emplace_back("negative count", Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    cases.emplace_back("huge count", Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0});
    cases.emplace_back("negative name length", Bytes{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    cases.emplace_back("huge name length", Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0});
    cases.emplace_back("unterminated name", Bytes{1, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 'b', 0, 0, 0});
    cases.emplace_back("unknown type", Bytes{1, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 0, 0, 0x42, 0x42});
    cases.emplace_back("huge text length",
                       Bytes{1, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 0, 0, 8, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0});

    CState store;
    store.SetVariant(u"kept", Variant::I4(9));
    const Bytes original = SaveOf(store);
    for (const auto& [what, record] : cases) {
        const Bytes& bytes = record; // clang 14 cannot capture structured bindings
        const std::string text = ErrorOf([&] { store.Load(bytes, "savegame/03.sav"); });
        EXPECT_EQ(
            text.rfind("Exception:\nCState::Load - Damaged state record in savegame/03.sav at byte ", 0), 0u)
            << what << " (" << bytes.size() << " bytes): " << text;
        EXPECT_EQ(SaveOf(store), original) << what;
    }
}

TEST(StateJsonTest, ValuesAsPlainJson) {
    CState store;
    store.SetVariant(u"text", Variant::Bstr(u"say \"hi\"\\\n\u00E9"));
    store.SetVariant(u"int", Variant::I4(-3));
    store.SetVariant(u"real", Variant::R8(0.1));
    store.SetVariant(u"single", Variant::R4(0.1f));
    store.SetBool(u"flag", false);
    store.SetVariant(u"none", Variant::Null());
    store.SetVariant(u"empty", Variant());
    store.SetVariant(u"obj", Variant::Dispatch(&store));
    EXPECT_EQ(store.ToJson(),
              "{\"empty\": null, \"flag\": false, \"int\": -3, \"none\": null, \"obj\": \"[object]\", "
              "\"real\": 0.1, \"single\": 0.1, \"text\": \"say \\\"hi\\\"\\\\\\u000a\xC3\xA9\"}");
    EXPECT_EQ(CState().ToJson(), "{}");
}

} // namespace
