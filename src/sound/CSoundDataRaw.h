#pragma once

#include "sound/CSoundData.h"

#include <cstdint>
#include <vector>

// Headerless PCM held in memory as a whole.
class CSoundDataRaw final : public CSoundData {
public:
    // Raises the archive's "not found" error when the file is missing.
    CSoundDataRaw(CSoundEngine& engine, const std::string& name);

    void Rewind() override { m_position = 0; }
    std::size_t GetData(std::uint8_t* dst, std::size_t bytes, bool force) override;

private:
    std::vector<std::uint8_t> m_data;
    std::size_t m_position = 0;
};
