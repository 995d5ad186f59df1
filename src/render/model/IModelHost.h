#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class DDevice;

// What a model needs from the engine that owns it: the device for its buffers,
// the game's files, the texture table and the folder for computed files.
class IModelHost {
public:
    virtual ~IModelHost() = default;

    virtual DDevice& Device() = 0;
    // The whole file at a logical path ("data\models\door.spr"), or nothing
    // when it cannot be opened.
    virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) = 0;
    // Id of the texture file, loading it on first use; an empty name gives 0.
    virtual int GetTextureId(const std::string& name) = 0;
    // Binds the texture of the id to stage 0; 0 unbinds.
    virtual void SetTexture(int id) = 0;
    // Where computed collision files are kept, mirroring their logical paths;
    // empty to keep none.
    virtual std::filesystem::path CacheFolder() const = 0;
};
