#include "render/CArchiveModelHost.h"

#include "render/CTextureTable.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"

CArchiveModelHost::CArchiveModelHost(DDevice& device, const CFileManager& files, CTextureTable& textures,
                                     std::filesystem::path cacheFolder)
    : m_device(device), m_files(files), m_textures(textures), m_cacheFolder(std::move(cacheFolder)) {}

std::optional<std::vector<std::uint8_t>> CArchiveModelHost::ReadFile(const std::string& path) {
    if (!m_files.Find(path)) {
        return std::nullopt;
    }
    try {
        return m_files.LoadFile(path);
    } catch (const CADVException&) {
        return std::nullopt;
    }
}

int CArchiveModelHost::GetTextureId(const std::string& name) {
    return m_textures.GetTextureId(name);
}

void CArchiveModelHost::SetTexture(int id) {
    m_textures.SetTexture(id);
}
