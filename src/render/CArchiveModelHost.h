#pragma once

#include "render/model/IModelHost.h"

class CFileManager;
class CTextureTable;

// Models of the game: files from the resource archives, textures from the
// engine's texture table, computed outlines kept in the per-user cache folder.
class CArchiveModelHost : public IModelHost {
public:
    CArchiveModelHost(DDevice& device, const CFileManager& files, CTextureTable& textures,
                      std::filesystem::path cacheFolder);

    DDevice& Device() override { return m_device; }
    // Any failure of the archive counts as a file that cannot be opened.
    std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) override;
    int GetTextureId(const std::string& name) override;
    void SetTexture(int id) override;
    std::filesystem::path CacheFolder() const override { return m_cacheFolder; }

private:
    DDevice& m_device;
    const CFileManager& m_files;
    CTextureTable& m_textures;
    std::filesystem::path m_cacheFolder;
};
