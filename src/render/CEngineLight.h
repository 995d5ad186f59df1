#pragma once

#include "render/device/DeviceTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A scene light as the engine keeps it: the device record under its light
// index plus the switches that decide whether the device shows it.
struct CEngineLight {
    std::uint32_t id = 0;
    D3DLIGHT9 light;
    bool enabled = true;
    // The light object's "visible" flag: groups and camera distance switch it.
    bool switchedOn = true;
    bool castsShadows = true;
    bool castsLighdows = false;
    // Never culled by the view direction nor switched by camera distance.
    bool alwaysOn = false;

    // The savegame record: enabled, casts-lighdows, casts-shadows, switched-on
    // (one byte each), then the 104-byte device light record.
    static constexpr std::size_t kRecordSize = 4 + 104;
    void Save(std::vector<std::uint8_t>& out) const;
    // Reads a record written by Save and returns its size; a truncated record
    // throws CADVException and changes nothing. The id is kept.
    std::size_t Load(std::span<const std::uint8_t> data);
};
