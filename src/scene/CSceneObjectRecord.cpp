// The object's own savegame record: animation, movement, rotation and
// identity flags, written before the instance or light record.
#include "scene/CSceneObject.h"

#include "resources/ByteReader.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"
#include "scene/ISceneHost.h"

#include <algorithm>
#include <bit>
#include <string>

namespace {

// Texts longer than this keep their length but only this many bytes.
constexpr std::size_t kMaxTextBytes = 1023;

struct SavedClock {
    std::uint32_t elapsed = 0;
    std::uint32_t effective = 0;
    std::uint32_t pausedTime = 0;
};

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    PutI32(out, static_cast<std::int32_t>(text.size()));
    if (text.empty()) {
        return;
    }
    const std::size_t kept = std::min(text.size(), kMaxTextBytes);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(kept));
    out.push_back(0);
}

void PutVector(std::vector<std::uint8_t>& out, const D3DXVECTOR3& v) {
    PutFloat(out, v.x);
    PutFloat(out, v.y);
    PutFloat(out, v.z);
}

void PutClock(std::vector<std::uint8_t>& out, const SavedClock& clock) {
    PutU32(out, clock.elapsed);
    PutU32(out, clock.effective);
    PutU32(out, clock.pausedTime);
}

// Reads the record's fields; any fault names the record and what was wrong.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> data) : m_reader(data) {}

    std::uint32_t U32(const char* field) {
        const std::uint32_t v = m_reader.U32();
        Check(field);
        return v;
    }
    std::int32_t I32(const char* field) { return static_cast<std::int32_t>(U32(field)); }
    bool Bool(const char* field) {
        const std::uint8_t v = m_reader.U8();
        Check(field);
        return v != 0;
    }
    float Float(const char* field) { return std::bit_cast<float>(U32(field)); }
    D3DXVECTOR3 Vector(const char* field) {
        const float x = Float(field);
        const float y = Float(field);
        return {x, y, Float(field)};
    }
    SavedClock Clock(const char* field) {
        SavedClock clock;
        clock.elapsed = U32(field);
        clock.effective = U32(field);
        clock.pausedTime = U32(field);
        return clock;
    }
    std::string Text(const char* field) {
        const std::int32_t length = I32(field);
        if (length < 0) {
            Fail(std::string(field) + " has a negative length");
        }
        if (length == 0) {
            return {};
        }
        const std::size_t kept = std::min(static_cast<std::size_t>(length), kMaxTextBytes);
        const auto bytes = m_reader.Take(kept + 1);
        Check(field);
        if (bytes.back() != 0) {
            Fail(std::string(field) + " is not terminated");
        }
        return {bytes.begin(), bytes.end() - 1};
    }
    // Reading `count` items of `size` bytes must stay inside the record.
    void ExpectItems(std::int32_t count, std::size_t size, const char* field) {
        if (count < 0 || static_cast<std::size_t>(count) > m_reader.Remaining() / size) {
            Fail(std::string(field) + " count " + std::to_string(count) + " does not fit the record");
        }
    }
    std::size_t Position() const { return m_reader.Position(); }

    // The serializer's side of reading: each field from the record, in order.
    void Field(std::int32_t& value, const char* field) { value = I32(field); }
    void Field(bool& value, const char* field) { value = Bool(field); }
    void Field(D3DXVECTOR3& value, const char* field) { value = Vector(field); }
    void Field(SavedClock& value, const char* field) { value = Clock(field); }
    void Field(std::string& value, const char* field) { value = Text(field); }
    void Field(std::vector<D3DXVECTOR3>& points, const char* field) {
        const std::int32_t count = I32(field);
        ExpectItems(count, 12, "the path point");
        points.clear();
        points.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            points.push_back(Vector(field));
        }
    }

    [[noreturn]] static void Fail(const std::string& problem) {
        throw CADVException("CSceneObject::Restore - Damaged scene object record: %s", problem.c_str());
    }

private:
    void Check(const char* field) {
        if (!m_reader.Ok()) {
            Fail(std::string("ends inside ") + field);
        }
    }

    ByteReader m_reader;
};

// The serializer's side of writing: each field into the record, in order.
class RecordWriter {
public:
    explicit RecordWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    void Field(std::int32_t value, const char* /*field*/) { PutI32(m_out, value); }
    void Field(bool value, const char* /*field*/) { PutBool(m_out, value); }
    void Field(const D3DXVECTOR3& value, const char* /*field*/) { PutVector(m_out, value); }
    void Field(const SavedClock& value, const char* /*field*/) { PutClock(m_out, value); }
    void Field(const std::string& value, const char* /*field*/) { PutText(m_out, value); }
    void Field(const std::vector<D3DXVECTOR3>& points, const char* /*field*/) {
        PutI32(m_out, static_cast<std::int32_t>(points.size()));
        for (const D3DXVECTOR3& point : points) {
            PutVector(m_out, point);
        }
    }

private:
    std::vector<std::uint8_t>& m_out;
};

// The record's layout, named once for both directions: `s` writes the fields
// of a const record or reads them into a record.
template <typename Serializer, typename Record>
void SerializeRecord(Serializer& s, Record& r) {
    s.Field(r.cycleMs, "the animation duration");
    s.Field(r.forward, "the animation direction");
    s.Field(r.repeats, "the animation repeats");
    s.Field(r.animationClock, "the animation clock");
    s.Field(r.actionEvent, "the animation end event");
    s.Field(r.actionParameter, "the animation end parameter");

    s.Field(r.moving, "the moving flag");
    s.Field(r.paused, "the paused flag");
    s.Field(r.loop, "the loop flag");
    s.Field(r.path, "the path");
    s.Field(r.targetIndex, "the target index");
    s.Field(r.speed, "the speed");
    s.Field(r.segmentMs, "the segment duration");
    s.Field(r.segmentClock, "the segment clock");
    s.Field(r.moveEvent, "the movement end event");
    s.Field(r.moveParameter, "the movement end parameter");
    s.Field(r.autorotate, "the autorotate flag");
    s.Field(r.blocked, "the blocked flag");
    s.Field(r.collisions, "the collisions flag");
    s.Field(r.blockedMs, "the blocked time");
    s.Field(r.walking, "the walking flag");
    s.Field(r.walkAnimation, "the walk animation");
    s.Field(r.retry, "the retry flag");

    s.Field(r.rotating, "the rotating flag");
    s.Field(r.rotationStart, "the start rotation");
    s.Field(r.rotationTarget, "the target rotation");
    s.Field(r.rotationDelta, "the rotation delta");
    s.Field(r.rotationMs, "the rotation duration");
    s.Field(r.rotationClock, "the rotation clock");
    s.Field(r.rotationEvent, "the rotation end event");
    s.Field(r.rotationParameter, "the rotation end parameter");

    s.Field(r.freeMove, "the free-move flag");
    s.Field(r.group, "the group");
    s.Field(r.pickName, "the pick name");
    s.Field(r.pickable, "the pickable flag");
    s.Field(r.walkaround, "the walkaround flag");
    s.Field(r.mobile, "the mobile flag");
}

SavedClock Saved(const CSceneObject::Clock& clock) {
    return {clock.elapsed, clock.effective, clock.pausedTime};
}

// A restored clock runs on from now as if it had never stopped.
CSceneObject::Clock Resumed(const SavedClock& saved, std::uint32_t now) {
    CSceneObject::Clock clock;
    clock.elapsed = saved.elapsed;
    clock.effective = saved.effective;
    clock.pausedTime = saved.pausedTime;
    clock.start = now - saved.elapsed;
    return clock;
}

} // namespace

struct CSceneObject::Record {
    std::int32_t cycleMs = 0;
    bool forward = true;
    std::int32_t repeats = 0;
    SavedClock animationClock;
    std::string actionEvent;
    std::string actionParameter;

    bool moving = false;
    bool paused = false;
    bool loop = false;
    std::vector<D3DXVECTOR3> path;
    std::int32_t targetIndex = 0;
    std::int32_t speed = 0;
    std::int32_t segmentMs = 0;
    SavedClock segmentClock;
    std::string moveEvent;
    std::string moveParameter;
    bool autorotate = false;
    bool blocked = false;
    bool collisions = false;
    std::int32_t blockedMs = 0;
    bool walking = false;
    std::string walkAnimation;
    bool retry = false;

    bool rotating = false;
    D3DXVECTOR3 rotationStart;
    D3DXVECTOR3 rotationTarget;
    D3DXVECTOR3 rotationDelta;
    std::int32_t rotationMs = 0;
    SavedClock rotationClock;
    std::string rotationEvent;
    std::string rotationParameter;

    bool freeMove = false;
    std::string group;
    std::string pickName;
    bool pickable = false;
    bool walkaround = false;
    bool mobile = false;
};

CSceneObject::Record CSceneObject::Capture() const {
    const std::uint32_t now = m_host.Now();
    Record r;
    r.cycleMs = static_cast<std::int32_t>(m_cycleMs);
    r.forward = m_forward;
    r.repeats = m_repeats;
    r.animationClock = Saved(m_animationClock);
    r.actionEvent = m_actionEvent;
    r.actionParameter = m_actionParameter;
    r.moving = m_moving;
    r.paused = m_paused;
    r.loop = m_loop;
    r.path = m_path;
    r.targetIndex = m_targetIndex;
    r.speed = m_speed;
    r.segmentMs = static_cast<std::int32_t>(m_segmentMs);
    r.segmentClock = Saved(m_segmentClock);
    r.moveEvent = m_moveEvent;
    r.moveParameter = m_moveParameter;
    r.autorotate = m_autorotate;
    r.blocked = m_blocked;
    r.collisions = m_collisions;
    r.blockedMs = static_cast<std::int32_t>(now - m_blockedSince);
    r.walking = m_walking;
    r.walkAnimation = m_walkAnimation;
    r.retry = m_retry;
    r.rotating = m_rotating;
    r.rotationStart = m_rotationStart;
    r.rotationTarget = m_rotationTarget;
    r.rotationDelta = m_rotationDelta;
    r.rotationMs = static_cast<std::int32_t>(m_rotationMs);
    r.rotationClock = Saved(m_rotationClock);
    r.rotationEvent = m_rotationEvent;
    r.rotationParameter = m_rotationParameter;
    r.freeMove = m_freeMove;
    r.group = m_group;
    r.pickName = m_pickName;
    r.pickable = m_pickable;
    r.walkaround = m_walkaround;
    r.mobile = m_mobile;
    return r;
}

void CSceneObject::Apply(const Record& r) {
    const std::uint32_t now = m_host.Now();
    m_cycleMs = static_cast<std::uint32_t>(r.cycleMs);
    m_forward = r.forward;
    m_repeats = r.repeats;
    m_animationClock = Resumed(r.animationClock, now);
    m_actionEvent = r.actionEvent;
    m_actionParameter = r.actionParameter;
    m_moving = r.moving;
    m_paused = r.paused;
    m_loop = r.loop;
    m_path = r.path;
    m_targetIndex = r.targetIndex;
    m_speed = r.speed;
    m_segmentMs = static_cast<std::uint32_t>(r.segmentMs);
    m_segmentClock = Resumed(r.segmentClock, now);
    m_moveEvent = r.moveEvent;
    m_moveParameter = r.moveParameter;
    m_autorotate = r.autorotate;
    m_blocked = r.blocked;
    m_collisions = r.collisions;
    m_blockedSince = now - static_cast<std::uint32_t>(r.blockedMs);
    m_walking = r.walking;
    m_walkAnimation = r.walkAnimation;
    m_retry = r.retry;
    m_rotating = r.rotating;
    m_rotationStart = r.rotationStart;
    m_rotationTarget = r.rotationTarget;
    m_rotationDelta = r.rotationDelta;
    m_rotationMs = static_cast<std::uint32_t>(r.rotationMs);
    m_rotationClock = Resumed(r.rotationClock, now);
    m_rotationEvent = r.rotationEvent;
    m_rotationParameter = r.rotationParameter;
    m_freeMove = r.freeMove;
    m_group = r.group;
    m_pickName = r.pickName;
    m_pickable = r.pickable;
    m_walkaround = r.walkaround;
    m_mobile = r.mobile;
}

void CSceneObject::Save(std::vector<std::uint8_t>& out) const {
    const Record r = Capture();
    RecordWriter writer(out);
    SerializeRecord(writer, r);
}

std::size_t CSceneObject::Load(std::span<const std::uint8_t> data) {
    RecordReader in(data);
    Record r;
    SerializeRecord(in, r);

    // The movement step indexes the path and the rotation step turns the
    // instance: a record must not promise what this object cannot do.
    if (r.moving && (r.targetIndex < 0 || static_cast<std::size_t>(r.targetIndex) >= r.path.size())) {
        RecordReader::Fail("target index " + std::to_string(r.targetIndex) + " is outside the path of " +
                           std::to_string(r.path.size()) + " points");
    }
    if (r.rotating && Instance() == nullptr) {
        RecordReader::Fail("a rotation for an object without a model");
    }
    Apply(r);
    return in.Position();
}
