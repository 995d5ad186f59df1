#pragma once

#include <filesystem>

class CGameWorld;
class DDevice;

// What a run leaves behind when it quits cleanly, for the tests and for the
// author: the stores as JSON and the last frame as a picture.
class CRunOutputs {
public:
    // {"state": {...}, "inventory": {...}, "setup": {...}}, written through a temporary file.
    static void DumpState(const CGameWorld& world, const std::filesystem::path& file);
    // The last rendered frame as a PNG file.
    static void WriteScreenshot(DDevice& device, const std::filesystem::path& file);
};
