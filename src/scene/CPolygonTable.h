#pragma once

#include "navigation/CPolygon.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// How a named polygon steers the free-move object and the path finder.
enum class EPolygonType : std::int32_t { Plain = 0, WalkInside = 1, WalkAround = 2, Event = 3 };

struct CNamedPolygon {
    CPolygon outline;
    EPolygonType type = EPolygonType::Plain;
    std::string eventObject;
    bool enabled = true;
};

// The named polygons of the current scene, ordered by name: walk areas,
// obstacles, event triggers and plain areas for scripts' queries.
class CPolygonTable {
public:
    using Entries = std::map<std::string, CNamedPolygon>;

    // "", "walkinside", "walkaround", "event" in any case; anything else
    // throws CADVException "Unknown polygon type".
    static EPolygonType ParseType(std::string_view word);

    // Replaces an entry of that name and enables it.
    void Set(const std::string& name, CNamedPolygon entry);
    CNamedPolygon* Find(const std::string& name);
    void Clear() { m_entries.clear(); }
    const Entries& GetEntries() const { return m_entries; }
    Entries& GetEntries() { return m_entries; }

    // Whether (x, z) lies inside the named polygon; false when it is disabled.
    // An unknown name throws "CGame::InsidePolygon() - Polygon does not exist."
    bool InsidePolygon(const std::string& name, float x, float z) const;

    // For each enabled event polygon, in table order, that a step from
    // (oldX, oldZ) to (newX, newZ) enters or leaves: fire(event object, "enter" or "leave").
    void FireCrossings(float oldX, float oldZ, float newX, float newZ,
                       const std::function<void(const std::string&, const char*)>& fire) const;
    // For each enabled event polygon containing (x, z): fire(event object, "enter").
    void FireContaining(float x, float z,
                        const std::function<void(const std::string&, const char*)>& fire) const;

private:
    Entries m_entries;
};
