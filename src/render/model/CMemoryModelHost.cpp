#include "render/model/CMemoryModelHost.h"

std::optional<std::vector<std::uint8_t>> CMemoryModelHost::ReadFile(const std::string& path) {
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        return std::nullopt;
    }
    return found->second;
}

int CMemoryModelHost::GetTextureId(const std::string& name) {
    if (name.empty()) {
        return 0;
    }
    const auto [entry, added] = m_textureIds.try_emplace(name, static_cast<int>(m_textureIds.size()) + 1);
    return entry->second;
}
