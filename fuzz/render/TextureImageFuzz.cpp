// Texture files come from the game's archives: any bytes must decode or be
// refused with the engine exception. The first byte picks the texture quality
// so the reduction and mip chain are exercised as well.
#include "render/image/TextureImage.h"
#include "resources/CADVException.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static constexpr int kQualities[] = {1, 2, 4};
    const int quality = kQualities[data[0] % 3];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    try {
        const TextureImageInfo info = GetTextureImageInfo(file, "fuzz");
        const auto levels = LoadTextureImage(file, "fuzz", quality);
        const CImage& last = levels.back();
        if (levels.front().Width() > info.width || levels.front().Height() > info.height ||
            last.Width() != 1 || last.Height() != 1) {
            __builtin_trap();
        }
    } catch (const CADVException&) {
    }
    return 0;
}
