#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "scene_objects/ObjectFixture.h"

#include <cstdint>
#include <initializer_list>

namespace {

using ObjectRecordTest = ObjectFixture;

using Bytes = std::vector<std::uint8_t>;

const char* const kDoor =
    "scene.addobject(\"name='door' model='box.spr' group='g' pickable='true' pickname='Door'\");";

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

Bytes Zeros(std::size_t count) {
    return Bytes(count, 0);
}

Bytes Saved(const CSceneObject& object) {
    Bytes out;
    object.Save(out);
    return out;
}

// The record of the door as defined, before any frame, at 1000 ms.
Bytes DoorRecord() {
    return Join({
        {0xe8, 0x03, 0, 0, 1, 0xff, 0xff, 0xff, 0xff}, // 1000 ms a cycle, forward, endless
        Zeros(12),                                     // animation clock
        Zeros(8),                                      // no end event, no parameter
        Zeros(3),                                      // not moving, not paused, no loop
        Zeros(4),                                      // no path points
        Zeros(12),                                     // target index, speed, segment duration
        Zeros(12),                                     // segment clock
        Zeros(8),                                      // movement end event and parameter
        Zeros(3),                                      // autorotate, blocked, collisions
        {0xe8, 0x03, 0, 0},                            // never blocked: now - 0
        Zeros(6),                                      // not walking, no walk animation, no retry
        Zeros(1 + 36 + 4 + 12 + 8),                    // no rotation
        {0},                                           // not free-moving
        {1, 0, 0, 0, 'g', 0},                          // group
        {4, 0, 0, 0, 'D', 'o', 'o', 'r', 0},           // pick name
        {1, 0, 0},                                     // pickable, not walkaround, not mobile
    });
}

// Offsets into DoorRecord.
constexpr std::size_t kFirstTextAt = 21;
constexpr std::size_t kMovingAt = 29;
constexpr std::size_t kPathCountAt = 32;
constexpr std::size_t kGroupEndAt = 148;

TEST_F(ObjectRecordTest, SmallRecordByteForByte) {
    Load(kDoor);
    ASSERT_EQ(Host().Now(), 1000u);
    const Bytes expected = DoorRecord();
    EXPECT_EQ(Saved(Object(u"door")), expected);

    // Read into an object that differs, it gives the same record back.
    Load("scene.addobject(\"name='door' model='box.spr' mobile='true' group='other'\");");
    CSceneObject& door = Object(u"door");
    EXPECT_EQ(door.Load(expected), expected.size());
    EXPECT_EQ(Saved(door), expected);
    EXPECT_EQ(door.Group(), "g");
    EXPECT_EQ(door.PickName(), "Door");
    EXPECT_TRUE(door.Pickable());
    EXPECT_FALSE(door.Mobile());
}

TEST_F(ObjectRecordTest, LongTextsKeepTheirLengthAndTheirFirst1023Bytes) {
    Load(kDoor);
    CSceneObject& door = Object(u"door");
    door.SetGroup(std::string(1500, 'x'));
    const Bytes record = Saved(door);
    EXPECT_EQ(record.size(), DoorRecord().size() - 1 + 1023);
    EXPECT_EQ(Bytes(record.begin() + kGroupEndAt - 5, record.begin() + kGroupEndAt - 1),
              (Bytes{0xdc, 0x05, 0, 0}));
    EXPECT_EQ(record[kGroupEndAt - 1 + 1023], 0);

    door.SetGroup("g");
    EXPECT_EQ(door.Load(record), record.size());
    EXPECT_EQ(door.Group(), std::string(1023, 'x'));
    EXPECT_EQ(door.PickName(), "Door");
}

TEST_F(ObjectRecordTest, RunningBehavioursContinueAfterARoundTrip) {
    const std::string body = "scene.addobject(\"name='walker' model='box.spr' script='actor.js'\");";
    Load(body);
    Eval("scene.walker.setpredefinedroute(\"posx='0'\", \"posx='2'\", \"posx='2' posz='3'\");"
         "scene.walker.followpredefinedroute(400, 0, true);"
         "scene.walker.animationspeed = 700; scene.walker.animationloop = 3;"
         "scene.walker.animate('wave', \"event='waved' eventparameter='hi'\");"
         "scene.walker.group = 'crew';");
    Run(100);
    Eval("scene.walker.rotateto(\"yaw='2' speed='500' event='turned'\");");
    Run(233);
    CSceneObject& walker = Object(u"walker");
    ASSERT_TRUE(walker.IsMoving());
    ASSERT_TRUE(walker.IsRotating());
    const Bytes record = Saved(walker);

    SceneTestHost other(Files(body));
    other.LoadScene("test");
    CSceneObject& copy = *other.Scene()->FindByName(u"walker");
    ASSERT_EQ(copy.Load(record), record.size());
    EXPECT_EQ(Saved(copy), record);
    // The instance record travels separately; place the copy where the original stands.
    copy.Instance()->position = walker.Instance()->position;
    copy.Instance()->rotation = walker.Instance()->rotation;

    for (int step = 0; step < 50; ++step) {
        Run(100);
        other.Run(100, 10);
        const D3DXVECTOR3 a = walker.GetPosition();
        const D3DXVECTOR3 b = copy.GetPosition();
        ASSERT_NEAR(a.x, b.x, 1e-4) << "step " << step;
        ASSERT_NEAR(a.z, b.z, 1e-4) << "step " << step;
        ASSERT_NEAR(walker.Instance()->rotation.z, copy.Instance()->rotation.z, 1e-4);
        ASSERT_NEAR(walker.Instance()->phase, copy.Instance()->phase, 1e-4);
    }
    EXPECT_EQ(SceneLog(), "turned:|waved:hi");
    EXPECT_TRUE(copy.IsMoving());
    EXPECT_EQ(copy.Group(), "crew");
}

TEST_F(ObjectRecordTest, DamagedRecordsAreRefusedAndChangeNothing) {
    Load(std::string(kDoor) + "scene.addobject(\"name='walker' model='box.spr'\");");
    Eval("scene.walker.walkto(\"posx='3' event='e'\"); scene.walker.group = 'team';");
    Run(200);
    const Bytes busy = Saved(Object(u"walker"));

    const auto patched = [](std::size_t at, Bytes bytes) {
        Bytes record = DoorRecord();
        std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(at));
        return record;
    };
    struct Case {
        std::string name;
        Bytes record;
        std::string problem;
    };
    std::vector<Case> cases = {
        {"negative text length", patched(kFirstTextAt, {0xff, 0xff, 0xff, 0xff}),
         "the animation end event has a negative length"},
        {"path larger than the record", patched(kPathCountAt, {0, 0, 0, 0x40}),
         "the path point count 1073741824 does not fit the record"},
        {"moving without a path", patched(kMovingAt, {1}), "target index 0 is outside the path of 0 points"},
        {"text without its zero", patched(kGroupEndAt, {'x'}), "the group is not terminated"},
    };
    for (std::size_t size = 0; size < busy.size(); ++size) {
        cases.push_back({"cut at " + std::to_string(size),
                         Bytes(busy.begin(), busy.begin() + static_cast<std::ptrdiff_t>(size)), ""});
    }
    CSceneObject& door = Object(u"door");
    const Bytes before = Saved(door);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            door.Load(c.record);
            ADD_FAILURE() << "accepted";
        } catch (const CADVException& e) {
            const std::string text = e.GetText();
            EXPECT_NE(text.find("CSceneObject::Restore - Damaged scene object record: "), std::string::npos)
                << text;
            EXPECT_NE(text.find(c.problem), std::string::npos) << text;
        }
        EXPECT_EQ(Saved(door), before);
    }
}

} // namespace
