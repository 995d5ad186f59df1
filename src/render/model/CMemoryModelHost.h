#pragma once

#include "render/model/IModelHost.h"
#include "render/device/DDeviceNull.h"

#include <map>

// Models without an engine: files from memory, the null device, texture ids
// handed out by name without loading anything. For tools that only read and
// write model files, and for tests.
class CMemoryModelHost : public IModelHost {
public:
    explicit CMemoryModelHost(std::filesystem::path cacheFolder = {})
        : m_cacheFolder(std::move(cacheFolder)) {}

    void AddFile(const std::string& path, std::vector<std::uint8_t> data) { m_files[path] = std::move(data); }
    void RemoveFile(const std::string& path) { m_files.erase(path); }
    DDeviceNull& NullDevice() { return m_device; }
    const std::map<std::string, int>& TextureIds() const { return m_textureIds; }

    DDevice& Device() override { return m_device; }
    std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) override;
    int GetTextureId(const std::string& name) override;
    // Ids name no loaded texture here, so stage 0 is only unbound.
    void SetTexture(int) override { m_device.SetTexture(0, nullptr); }
    std::filesystem::path CacheFolder() const override { return m_cacheFolder; }

private:
    DDeviceNull m_device;
    std::map<std::string, std::vector<std::uint8_t>> m_files;
    std::map<std::string, int> m_textureIds;
    std::filesystem::path m_cacheFolder;
};
