#include "app/display/DisplayModes.h"

#include <gtest/gtest.h>

namespace {

DDisplayMode Mode(std::uint32_t w, std::uint32_t h, std::uint32_t hz, std::uint32_t format = 0) {
    return {w, h, hz, format};
}

bool Same(const DDisplayMode& a, const DDisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.refreshRate == b.refreshRate &&
           a.format == b.format;
}

} // namespace

TEST(DisplayModes, KeepsOnlyLarge4by3ModesOnePerSize) {
    const std::vector<DDisplayMode> offered = {
        Mode(800, 600, 60),      // too narrow
        Mode(1024, 768, 60, 1),  // first of its size
        Mode(1280, 720, 60),     // not 4:3
        Mode(1280, 1024, 60),    // 5:4
        Mode(1024, 768, 75, 2),  // higher refresh replaces
        Mode(1600, 1200, 60, 3), //
        Mode(1024, 768, 75, 4),  // equal refresh keeps the earlier one
        Mode(1600, 1200, 50),    // lower refresh is ignored
        Mode(1366, 1024, 60),    // 1366 * 3 / 4 = 1024 in integer arithmetic
        Mode(1152, 864, 60),     //
    };
    const auto kept = AcceptDisplayModes(offered);
    const std::vector<DDisplayMode> expected = {Mode(1024, 768, 75, 2), Mode(1600, 1200, 60, 3),
                                                Mode(1366, 1024, 60), Mode(1152, 864, 60)};
    ASSERT_EQ(kept.size(), expected.size());
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_TRUE(Same(kept[i], expected[i]))
            << "mode " << i << ": " << kept[i].width << "x" << kept[i].height << "@" << kept[i].refreshRate;
    }
}

TEST(DisplayModes, RequestedSizeOrTheFirstAcceptedMode) {
    const std::vector<DDisplayMode> accepted = {Mode(1152, 864, 60), Mode(1600, 1200, 75)};
    EXPECT_TRUE(Same(ChooseDisplayMode(accepted, 1600, 1200), accepted[1]));
    EXPECT_TRUE(Same(ChooseDisplayMode(accepted, 1024, 768), accepted[0])) << "not offered: the first one";
    EXPECT_TRUE(Same(ChooseDisplayMode(accepted, 1600, 900), accepted[0])) << "width alone does not match";
}
