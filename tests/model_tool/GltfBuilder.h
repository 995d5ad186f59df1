#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// Writes small glTF 2.0 files for the tests and benchmarks: accessors go into one binary
// buffer, the caller gives the rest of the document (scene, nodes, meshes,
// materials, skins, animations) as JSON members.
class GltfBuilder {
public:
    // `type` is "SCALAR", "VEC2", "VEC3", "VEC4" or "MAT4"; returns the accessor's index.
    int AddFloats(std::span<const float> values, const char* type);
    // Positions carry the bounds glTF asks for.
    int AddPositions(std::span<const float> xyz);
    int AddIndices(std::span<const std::uint16_t> indices);
    // Four joint numbers per vertex.
    int AddJoints(std::span<const std::uint8_t> joints);

    // NAME.gltf and its buffer NAME.bin in `folder`; returns the .gltf path.
    std::filesystem::path WriteGltf(const std::filesystem::path& folder, const std::string& name,
                                    const std::string& members) const;
    // The same document and buffer in one binary file.
    void WriteGlb(const std::filesystem::path& path, const std::string& members) const;

private:
    int AddAccessor(const void* data, std::size_t bytes, std::size_t count, int componentType,
                    const char* type, const std::string& extra);
    std::string Document(const std::string& members, const std::string& bufferUri) const;

    std::vector<std::uint8_t> m_buffer;
    std::vector<std::string> m_views;
    std::vector<std::string> m_accessors;
};
