#include "render/CTextureTable.h"

#include <exception>

#include "render/image/TextureImage.h"
#include "render/TextureUpload.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"

#include <cstring>

CTextureTable::CTextureTable(DDevice& device, FileLoader loadFile, int quality)
    : m_device(device), m_loadFile(std::move(loadFile)) {
    SetQuality(quality);
}

CTextureTable::~CTextureTable() = default;

void CTextureTable::SetQuality(int quality) {
    m_quality = quality == 1 || quality == 4 ? quality : 2;
}

std::unique_ptr<DTexture> CTextureTable::Load(const std::string& name) const {
    const std::vector<std::uint8_t> file = m_loadFile("data\\textures\\" + name);
    const std::vector<CImage> levels = LoadTextureImage(file, name, m_quality);
    HRESULT hr = S_OK;
    std::unique_ptr<DTexture> texture = CreateTextureFromImages(m_device, levels, &hr);
    if (!texture) {
        throw CADVException(hr, "Could not load texture with filename '%s'", name.c_str());
    }
    return texture;
}

int CTextureTable::GetTextureId(const std::string& name) {
    if (name.empty()) {
        return 0;
    }
    if (const auto found = m_ids.find(name); found != m_ids.end()) {
        return found->second;
    }
    // Nothing is entered before the load succeeded, so a failed name is tried
    // again on its next request.
    const int id = m_lastId + 1;
    m_textures[id] = Load(name);
    m_ids[name] = id;
    m_lastId = id;
    return id;
}

const DTexture* CTextureTable::Texture(int id) const {
    const auto found = m_textures.find(id);
    return found == m_textures.end() ? nullptr : found->second.get();
}

void CTextureTable::SetTexture(int id) {
    if (id == 0) {
        m_device.SetTexture(0, nullptr);
        return;
    }
    const DTexture* texture = Texture(id);
    if (!texture) {
        throw CADVException("C3DEngine2::SetTexture - Texture %d does not exist.", id);
    }
    m_device.SetTexture(0, texture);
}

void CTextureTable::ReleaseAll() {
    m_textures.clear();
    m_ids.clear();
    m_lastId = 0;
}

void CTextureTable::Restore() {
    // A texture that does not load again keeps the one it had, so its id
    // never ends up without a texture; the first failure is passed on once
    // every other texture had its turn.
    std::exception_ptr failure;
    for (const auto& [name, id] : m_ids) {
        try {
            m_textures[id] = Load(name);
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}
