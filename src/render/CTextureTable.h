#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class DDevice;
class DTexture;

// The textures of the current scene by file name, handed out as small ids
// (0: none) that stay valid until the table is released, across restores.
class CTextureTable {
public:
    // Reads a whole game file by logical path, raising the archive's failure
    // when it is missing.
    using FileLoader = std::function<std::vector<std::uint8_t>(const std::string& path)>;

    CTextureTable(DDevice& device, FileLoader loadFile, int quality);
    ~CTextureTable();

    // 1, 2 or 4; any other value counts as 2. Takes effect at the next load
    // or restore.
    void SetQuality(int quality);
    int Quality() const { return m_quality; }

    // Loads "data\textures\" + name on first use; an empty name gives 0.
    int GetTextureId(const std::string& name);
    // Binds the id to stage 0; 0 unbinds.
    void SetTexture(int id);
    // Null for 0 or an unknown id.
    const DTexture* Texture(int id) const;
    int LastId() const { return m_lastId; }

    // Forgets every texture; ids start again from 1.
    void ReleaseAll();
    // Loads every named texture again under its id (device recreated, quality
    // changed). One that fails keeps its previous texture; the first failure
    // is thrown after all the others were loaded.
    void Restore();

private:
    std::unique_ptr<DTexture> Load(const std::string& name) const;

    DDevice& m_device;
    FileLoader m_loadFile;
    int m_quality = 2;
    int m_lastId = 0;
    std::map<std::string, int> m_ids;
    std::map<int, std::unique_ptr<DTexture>> m_textures;
};
