#include "GltfBuilder.h"

#include "resources/FileBytes.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

int Components(const std::string& type) {
    static const std::map<std::string, int> kComponents{
        {"SCALAR", 1}, {"VEC2", 2}, {"VEC3", 3}, {"VEC4", 4}, {"MAT4", 16}};
    return kComponents.at(type);
}

void Write(const std::filesystem::path& path, const std::string& text) {
    WriteWholeFileReplacing(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void AppendU32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(v >> shift));
    }
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : ",") + item;
    }
    return out;
}

} // namespace

int GltfBuilder::AddAccessor(const void* data, std::size_t bytes, std::size_t count, int componentType,
                             const char* type, const std::string& extra) {
    // Every view starts on a four-byte boundary, as glTF wants for floats.
    m_buffer.resize((m_buffer.size() + 3) / 4 * 4);
    const std::size_t offset = m_buffer.size();
    m_buffer.resize(offset + bytes);
    std::memcpy(m_buffer.data() + offset, data, bytes);
    m_views.push_back(R"({"buffer":0,"byteOffset":)" + std::to_string(offset) + R"(,"byteLength":)" +
                      std::to_string(bytes) + "}");
    m_accessors.push_back(R"({"bufferView":)" + std::to_string(m_views.size() - 1) + R"(,"componentType":)" +
                          std::to_string(componentType) + R"(,"count":)" + std::to_string(count) +
                          R"(,"type":")" + type + "\"" + extra + "}");
    return static_cast<int>(m_accessors.size()) - 1;
}

int GltfBuilder::AddFloats(std::span<const float> values, const char* type) {
    return AddAccessor(values.data(), values.size_bytes(), values.size() / Components(type), 5126, type, "");
}

int GltfBuilder::AddPositions(std::span<const float> xyz) {
    float low[3] = {1e30f, 1e30f, 1e30f};
    float high[3] = {-1e30f, -1e30f, -1e30f};
    for (std::size_t i = 0; i < xyz.size(); ++i) {
        low[i % 3] = std::min(low[i % 3], xyz[i]);
        high[i % 3] = std::max(high[i % 3], xyz[i]);
    }
    const auto list = [](const float* v) {
        return "[" + std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "]";
    };
    return AddAccessor(xyz.data(), xyz.size_bytes(), xyz.size() / 3, 5126, "VEC3",
                       R"(,"min":)" + list(low) + R"(,"max":)" + list(high));
}

int GltfBuilder::AddIndices(std::span<const std::uint16_t> indices) {
    return AddAccessor(indices.data(), indices.size_bytes(), indices.size(), 5123, "SCALAR", "");
}

int GltfBuilder::AddJoints(std::span<const std::uint8_t> joints) {
    return AddAccessor(joints.data(), joints.size_bytes(), joints.size() / 4, 5121, "VEC4", "");
}

std::string GltfBuilder::Document(const std::string& members, const std::string& bufferUri) const {
    const std::string uri = bufferUri.empty() ? "" : R"("uri":")" + bufferUri + "\",";
    return R"({"asset":{"version":"2.0"},)" + members + R"(,"buffers":[{)" + uri + R"("byteLength":)" +
           std::to_string(m_buffer.size()) + R"(}],"bufferViews":[)" + Join(m_views) + R"(],"accessors":[)" +
           Join(m_accessors) + "]}";
}

std::filesystem::path GltfBuilder::WriteGltf(const std::filesystem::path& folder, const std::string& name,
                                             const std::string& members) const {
    WriteWholeFileReplacing(folder / (name + ".bin"), m_buffer);
    const auto path = folder / (name + ".gltf");
    Write(path, Document(members, name + ".bin"));
    return path;
}

void GltfBuilder::WriteGlb(const std::filesystem::path& path, const std::string& members) const {
    std::string json = Document(members, "");
    json.resize((json.size() + 3) / 4 * 4, ' ');
    std::string bin(m_buffer.begin(), m_buffer.end());
    bin.resize((bin.size() + 3) / 4 * 4, '\0');
    std::string out = "glTF";
    AppendU32(out, 2);
    AppendU32(out, static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + bin.size()));
    AppendU32(out, static_cast<std::uint32_t>(json.size()));
    out += "JSON" + json;
    AppendU32(out, static_cast<std::uint32_t>(bin.size()));
    out += std::string("BIN\0", 4) + bin;
    Write(path, out);
}
