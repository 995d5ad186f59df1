#pragma once

#include "render/image/CImage.h"
#include "resources/HResult.h"

#include <memory>
#include <vector>

class DDevice;
class DTexture;

// A texture holding decoded picture levels (RGBA, largest first), in the
// device's B, G, R, A byte order. Null with the failure in *hr when the device
// cannot make or lock it.
std::unique_ptr<DTexture> CreateTextureFromImages(DDevice& device, const std::vector<CImage>& levels,
                                                  HRESULT* hr);
