// Walk areas and obstacles come from game scripts and model footprints: any
// set of coordinates, degenerate or not a number, must give a route or a clean
// refusal, never a crash or an out-of-range access.
#include "navigation/EPathFinder.h"
#include "navigation/PathFinder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    float Float() {
        float v = 0.0f;
        if (m_size - m_at >= sizeof v) {
            std::memcpy(&v, m_data + m_at, sizeof v);
            m_at += sizeof v;
        } else {
            m_at = m_size;
        }
        return v;
    }
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    bool Empty() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

std::vector<PathPoint> ReadOutline(Reader& in) {
    std::vector<PathPoint> points(in.Byte() % 12);
    for (PathPoint& p : points) {
        p.x = in.Float();
        p.z = in.Float();
    }
    return points;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    PathFinder finder;
    const float minX = in.Float(), maxX = in.Float(), minZ = in.Float(), maxZ = in.Float();
    // Keep the grid small enough for the fuzzer to run many inputs per second.
    const float cell = (maxX - minX) / static_cast<float>(1 + in.Byte() % 40);
    finder.InitGrid(minX, maxX, minZ, maxZ, cell);
    if (finder.HasGrid() && finder.GetGrid()->NodeCount() > 20000) {
        return 0;
    }
    finder.SetClearance(in.Float());
    finder.SetSmallObstacleRule(in.Float(), in.Float());
    finder.SetWalkArea(ReadOutline(in));
    for (int n = in.Byte() % 6; n > 0; --n) {
        finder.AddObstacle(ReadOutline(in));
    }
    std::vector<PathPoint> path;
    while (!in.Empty()) {
        const PathPoint start{in.Float(), in.Float()};
        const PathPoint goal{in.Float(), in.Float()};
        try {
            finder.FindPath(start, goal, path);
        } catch (const EPFGridNotInitialized&) {
            return 0;
        }
        // Compared bytewise: a start that is not a number must still come back as given.
        if (path.size() < 2 || std::memcmp(&path.front(), &start, sizeof start) != 0) {
            __builtin_trap();
        }
    }
    return 0;
}
