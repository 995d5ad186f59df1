#include "render/model/CModelCache.h"

#include "render/model/C3DSpresh.h"

#include <iterator>

CModelCache::CModelCache(IModelHost& host, bool preload) : m_host(host), m_preload(preload) {}

CModelCache::~CModelCache() = default;

C3DSpresh* CModelCache::GetModel(const std::string& fileName) {
    if (const auto found = m_models.find(fileName); found != m_models.end()) {
        return found->second.get();
    }
    auto model = std::make_unique<C3DSpresh>(m_host, fileName);
    model->Load(m_preload);
    return m_models.emplace(fileName, std::move(model)).first->second.get();
}

std::string CModelCache::NextUnnamedKey() const {
    // Bytes no model path contains, so the key can never meet a file name.
    return "\x31\x56\x26\xE9\x28\xA7" + std::to_string(m_unnamedCounter + 1) + "&&jk";
}

C3DSpresh* CModelCache::CreateUnnamedModel() {
    const std::string key = NextUnnamedKey();
    ++m_unnamedCounter;
    return m_models.emplace(key, std::make_unique<C3DSpresh>(m_host, "")).first->second.get();
}

void CModelCache::DiscardLastUnnamedModel(const C3DSpresh* model) {
    if (m_unnamedCounter == 0) {
        return;
    }
    --m_unnamedCounter;
    const auto last = m_models.find(NextUnnamedKey());
    if (last != m_models.end() && last->second.get() == model) {
        m_models.erase(last);
    } else {
        ++m_unnamedCounter;
    }
}

void CModelCache::Purge() {
    std::erase_if(m_models, [](const auto& entry) { return !entry.second->KeepInCache(); });
}

void CModelCache::ReloadTextures() {
    for (auto& [key, model] : m_models) {
        model->ReloadTextures();
    }
}

void CModelCache::Restore() {
    for (auto& [key, model] : m_models) {
        model->Restore();
    }
}
