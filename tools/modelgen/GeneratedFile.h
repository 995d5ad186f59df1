#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One finished asset: its name inside its game folder and its bytes.
struct GeneratedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
