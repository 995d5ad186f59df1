#include "scene/CPolygonTable.h"

#include "resources/CADVException.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Outlines of fewer than three points contain nothing rather than failing a whole walk.
bool Contains(const CNamedPolygon& entry, float x, float z) {
    return entry.outline.GetPoints().size() >= 3 && entry.outline.IsInside(x, z);
}

} // namespace

EPolygonType CPolygonTable::ParseType(std::string_view word) {
    if (word.empty()) {
        return EPolygonType::Plain;
    }
    if (EqualsIgnoringCase(word, "walkinside")) {
        return EPolygonType::WalkInside;
    }
    if (EqualsIgnoringCase(word, "walkaround")) {
        return EPolygonType::WalkAround;
    }
    if (EqualsIgnoringCase(word, "event")) {
        return EPolygonType::Event;
    }
    throw CADVException("Unknown polygon type");
}

void CPolygonTable::Set(const std::string& name, CNamedPolygon entry) {
    entry.enabled = true;
    m_entries[name] = std::move(entry);
}

CNamedPolygon* CPolygonTable::Find(const std::string& name) {
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? nullptr : &found->second;
}

bool CPolygonTable::InsidePolygon(const std::string& name, float x, float z) const {
    const auto found = m_entries.find(name);
    if (found == m_entries.end()) {
        throw CADVException("CGame::InsidePolygon() - Polygon does not exist.");
    }
    return found->second.enabled && found->second.outline.IsInside(x, z);
}

void CPolygonTable::FireCrossings(float oldX, float oldZ, float newX, float newZ,
                                  const std::function<void(const std::string&, const char*)>& fire) const {
    for (const auto& [name, entry] : m_entries) {
        if (!entry.enabled || entry.type != EPolygonType::Event) {
            continue;
        }
        const bool wasInside = Contains(entry, oldX, oldZ);
        const bool isInside = Contains(entry, newX, newZ);
        if (isInside && !wasInside) {
            fire(entry.eventObject, "enter");
        } else if (!isInside && wasInside) {
            fire(entry.eventObject, "leave");
        }
    }
}

void CPolygonTable::FireContaining(float x, float z,
                                   const std::function<void(const std::string&, const char*)>& fire) const {
    for (const auto& [name, entry] : m_entries) {
        if (entry.enabled && entry.type == EPolygonType::Event && Contains(entry, x, z)) {
            fire(entry.eventObject, "enter");
        }
    }
}
