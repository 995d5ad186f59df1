#include "ModelInfo.h"

#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::string Text(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string Colour(const D3DCOLORVALUE& c) {
    return Text("%g %g %g %g", c.r, c.g, c.b, c.a);
}

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "24 vertices", or "24 to 30 vertices" when the frames differ.
std::string Range(const C3DSpresh::Frames& frames, std::int32_t C3DIMesh2::*count, const char* one,
                  const char* many) {
    const auto [low, high] =
        std::minmax_element(frames.begin(), frames.end(),
                            [count](const auto& a, const auto& b) { return (*a).*count < (*b).*count; });
    const auto least = static_cast<std::size_t>((**low).*count);
    const auto most = static_cast<std::size_t>((**high).*count);
    return least == most ? Count(least, one, many) : std::to_string(least) + " to " + Count(most, one, many);
}

void PrintMaterials(const C3DIMesh2& frame, std::ostream& out) {
    // In the order of the file, which the material numbers keep.
    std::vector<std::pair<const std::string*, const CSpreshMaterial*>> byNumber;
    for (const auto& [name, material] : frame.materials) {
        byNumber.emplace_back(&name, &material);
    }
    std::sort(byNumber.begin(), byNumber.end(),
              [](const auto& a, const auto& b) { return a.second->number < b.second->number; });
    for (const auto& [name, m] : byNumber) {
        out << "material '" << *name << "': texture '" << m->textureName << "', diffuse "
            << Colour(m->material.Diffuse) << ", emissive " << Colour(m->material.Emissive) << ", "
            << (m->transparent ? "transparent" : "opaque") << ", indices " << m->firstIndex << " + "
            << m->indexCount << '\n';
    }
}

void PrintBounds(const C3DSpresh& spresh, std::ostream& out) {
    D3DXVECTOR3 low(1e38f, 1e38f, 1e38f);
    D3DXVECTOR3 high(-1e38f, -1e38f, -1e38f);
    for (const auto& [name, frames] : spresh.GetAnimations()) {
        for (const auto& frame : frames) {
            for (std::int32_t i = 0; i < frame->vertexCount; ++i) {
                const D3DXVECTOR3 p = frame->Position(i);
                low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
                high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
            }
        }
    }
    if (low.x <= high.x) {
        out << Text("bounds: (%g, %g, %g) to (%g, %g, %g)\n", low.x, low.y, low.z, high.x, high.y, high.z);
    }
}

void PrintOutline(const CPolygon& outline, std::ostream& out) {
    out << "outline: " << Count(outline.GetPoints().size(), "point", "points");
    for (const CPolygon::Point& p : outline.GetPoints()) {
        out << Text(" (%g, %g)", p.givenX, p.givenZ);
    }
    out << '\n';
}

void PrintModel(const std::filesystem::path& file, std::vector<std::uint8_t> bytes, std::ostream& out) {
    const std::string name = file.filename().string();
    const bool sprite = std::memcmp(bytes.data(), "SPRT", 4) == 0;
    CMemoryModelHost host;
    host.AddFile(name, std::move(bytes));
    const auto collision = ReadWholeFile(file.string() + ".col");
    const bool collisionRead = collision && ReadCollisionFile(*collision);
    if (collision) {
        host.AddFile(name + ".col", *collision);
    }
    C3DSpresh spresh(host, name);
    spresh.Load(true);
    out << name << ": " << (sprite ? "SPRT sprite" : "IMS2 mesh") << ", "
        << Count(spresh.GetAnimations().size(), "animation", "animations") << '\n';
    for (const auto& [animation, frames] : spresh.GetAnimations()) {
        out << "animation '" << animation << "': " << Count(frames.size(), "frame", "frames");
        if (!frames.empty()) {
            out << ", " << Range(frames, &C3DIMesh2::vertexCount, "vertex", "vertices") << ", "
                << Range(frames, &C3DIMesh2::indexCount, "index", "indices");
        }
        out << '\n';
    }
    PrintBounds(spresh, out);
    if (const C3DIMesh2* frame = spresh.CollisionFileFrame()) {
        PrintMaterials(*frame, out);
        PrintOutline(frame->outline, out);
        out << "outline " << (collisionRead ? "read from " + name + ".col" : "computed from the vertices")
            << '\n';
    }
}

void PrintCollision(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                    std::ostream& out) {
    const auto outline = ReadCollisionFile(bytes);
    if (!outline) {
        throw CADVException(
            "morvane-model - %s: neither an IMS2 or SPRT model nor a collision file of version 1 "
            "with all its points",
            file.string().c_str());
    }
    out << file.filename().string() << ": collision file, version 1\n";
    PrintOutline(*outline, out);
    out << Text("bounds: x %g to %g, z %g to %g\n", outline->GetMinX(), outline->GetMaxX(),
                outline->GetMinZ(), outline->GetMaxZ());
}

} // namespace

void PrintModelInfo(const std::filesystem::path& file, std::ostream& out) {
    auto bytes = ReadWholeFile(file);
    if (!bytes) {
        throw CADVException("morvane-model - %s: cannot be read", file.string().c_str());
    }
    if (bytes->size() >= 4 &&
        (std::memcmp(bytes->data(), "IMS2", 4) == 0 || std::memcmp(bytes->data(), "SPRT", 4) == 0)) {
        PrintModel(file, std::move(*bytes), out);
    } else {
        PrintCollision(file, *bytes, out);
    }
}
