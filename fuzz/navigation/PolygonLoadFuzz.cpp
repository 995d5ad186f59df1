// Saved polygons come back from savegames and other files: any byte string
// must load or be refused, and the loaded outline must survive every query.
#include "navigation/CPolygon.h"

#include "resources/CADVException.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPolygon polygon;
    std::size_t used = 0;
    try {
        used = polygon.Load(std::span<const std::uint8_t>(data, size));
    } catch (const CADVException&) {
        return 0;
    }
    if (used > size) {
        __builtin_trap();
    }
    std::vector<std::uint8_t> again;
    polygon.Save(again);
    if (again.size() != used) {
        __builtin_trap();
    }
    polygon.Rotate(0.7f);
    polygon.Translate(1.5f, -2.0f);
    try {
        for (const CPolygon::Point& p : polygon.GetPoints()) {
            polygon.IsInside(p.placedX, p.placedZ);
        }
        polygon.Intersects(polygon);
    } catch (const CADVException&) {
        // Fewer than three points: refused, as it should be.
    }
    return 0;
}
