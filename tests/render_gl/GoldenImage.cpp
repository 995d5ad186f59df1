#include "render_gl/GoldenImage.h"

#include "render/image/CImage.h"
#include "render/image/ImageCodec.h"
#include "render/image/PngCodec.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kTolerance = 3;

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

::testing::AssertionResult MatchesGolden(DDevice& device, const std::string& name) {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> actual;
    if (device.ReadBackBuffer(actual, &width, &height) != S_OK) {
        return ::testing::AssertionFailure() << "the back buffer cannot be read";
    }
    const std::filesystem::path golden = std::filesystem::path(MORVANE_GOLDEN_DIR) / (name + ".png");
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        return WritePng(golden, width, height, actual)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "cannot write " << golden;
    }
    const std::vector<std::uint8_t> file = ReadBytes(golden);
    CImage expected;
    if (file.empty() || !kPngCodec.Decode(file, expected)) {
        return ::testing::AssertionFailure()
               << "no reference image " << golden << " (MORVANE_UPDATE_GOLDEN=1 writes it)";
    }
    int worst = 0;
    int differing = 0;
    if (expected.Width() == width && expected.Height() == height) {
        for (std::size_t i = 0; i < actual.size(); i += 4) {
            int pixel = 0;
            for (std::size_t c = 0; c < 4; ++c) {
                pixel = std::max(pixel, std::abs(int{actual[i + c]} - int{expected.Pixels()[i + c]}));
            }
            worst = std::max(worst, pixel);
            differing += pixel > kTolerance ? 1 : 0;
        }
        if (differing == 0) {
            return ::testing::AssertionSuccess();
        }
    }
    const std::filesystem::path folder(MORVANE_GOLDEN_ACTUAL_DIR);
    std::filesystem::create_directories(folder);
    const std::filesystem::path written = folder / (name + ".png");
    WritePng(written, width, height, actual);
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ by more than " << kTolerance << " (worst " << worst
           << "), reference " << expected.Width() << "x" << expected.Height() << "; rendered image in "
           << written;
}
