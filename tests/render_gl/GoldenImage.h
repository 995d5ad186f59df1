#pragma once

#include "render/device/DDevice.h"

#include <gtest/gtest.h>

#include <string>

// Compares the device's back buffer with the reference image
// golden/<name>.png, allowing a small difference per channel between
// rasterisers. MORVANE_UPDATE_GOLDEN=1 writes the reference instead. On a
// mismatch the rendered image is written to golden-actual/<name>.png in the
// build folder.
::testing::AssertionResult MatchesGolden(DDevice& device, const std::string& name);
