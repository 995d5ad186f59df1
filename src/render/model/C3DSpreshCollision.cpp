// Collision outlines: read from the model's .col file, or computed from the
// frames and kept in the cache folder for the next start.
#include "render/model/C3DSpresh.h"

#include <cstdio>

#include "render/model/CModelWriter.h"
#include "render/model/IModelHost.h"
#include "render/model/ModelOutline.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <fstream>
#include <span>

namespace {

constexpr std::uint32_t kCollisionFileVersion = 1;

// The outline of the frame's vertices on the ground.
CPolygon FrameOutline(const C3DIMesh2& frame) {
    const std::int32_t count = frame.vertexBuffer ? frame.vertexCount : 0;
    std::vector<OutlinePoint> points;
    points.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        const D3DXVECTOR3 p = frame.Position(i);
        points.emplace_back(p.x, p.z);
    }
    return ModelOutline(points);
}

} // namespace

std::filesystem::path CachedFilePath(const std::filesystem::path& cacheFolder,
                                     const std::string& logicalPath) {
    std::string relative = logicalPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path path(relative);
    const bool escapes = std::any_of(path.begin(), path.end(), [](const auto& part) { return part == ".."; });
    if (cacheFolder.empty() || relative.empty() || path.is_absolute() || escapes) {
        return {};
    }
    return cacheFolder / path;
}

void C3DSpresh::CreateCollisionData() {
    ForEachFrame([](C3DIMesh2& frame) { frame.outline = FrameOutline(frame); });
}

std::optional<std::vector<std::uint8_t>> C3DSpresh::ReadCachedFile(const std::string& name) const {
    const auto cached = CachedFilePath(m_host.CacheFolder(), name);
    std::ifstream in(cached, std::ios::binary);
    if (cached.empty() || !in) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<CPolygon> ReadCollisionFile(std::span<const std::uint8_t> data) {
    if (data.size() < 4) {
        return std::nullopt;
    }
    const std::uint32_t version = static_cast<std::uint32_t>(data[0]) | data[1] << 8 | data[2] << 16 |
                                  static_cast<std::uint32_t>(data[3]) << 24;
    if (version != kCollisionFileVersion) {
        return std::nullopt;
    }
    CPolygon outline;
    try {
        outline.Load(data.subspan(4));
    } catch (const CADVException&) {
        // A truncated file is as good as none.
        return std::nullopt;
    }
    return outline;
}

bool C3DSpresh::UseCollisionFile(const std::optional<std::vector<std::uint8_t>>& data) {
    const auto outline = data ? ReadCollisionFile(*data) : std::nullopt;
    if (!outline) {
        return false;
    }
    ForEachFrame([&](C3DIMesh2& frame) { frame.outline = *outline; });
    return true;
}

std::string CachedCollisionName(const std::string& logicalPath, std::span<const std::uint8_t> modelBytes) {
    // FNV-1a: quick, and plenty to tell two versions of one model apart.
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : modelBytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return logicalPath + "." + hex + ".col";
}

void C3DSpresh::LoadCollisionData() {
    // The game's own file first, then the one an earlier start computed for these very bytes.
    if (UseCollisionFile(m_host.ReadFile(m_fileName + ".col")) ||
        UseCollisionFile(ReadCachedFile(m_cachedCollisionName))) {
        return;
    }
    CreateCollisionData();
    WriteCollisionFile(m_cachedCollisionName);
}

const C3DIMesh2* C3DSpresh::CollisionFileFrame() const {
    const auto idle = m_animations.find(kIdleAnimation);
    const auto source = idle != m_animations.end() ? idle : m_animations.begin();
    return source == m_animations.end() || source->second.empty() ? nullptr : source->second.front().get();
}

void C3DSpresh::WriteCollisionFile(const std::string& name) {
    const C3DIMesh2* frame = CollisionFileFrame();
    const auto path = CachedFilePath(m_host.CacheFolder(), name);
    if (!frame || path.empty()) {
        return;
    }
    // The cache is only a shortcut: a file that cannot be written is skipped.
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const std::vector<std::uint8_t> bytes = CModelWriter::WriteCollision(frame->outline);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
