#include "render/model/CModelInstance.h"
#include "render_models/ModelFixtures.h"

namespace {

CModelInstance Walker() {
    CModelInstance instance(nullptr, {1, 2, 3}, {0.5f, -1, 2}, false, true, CModelInstance::Ordinary);
    instance.castsLighdows = true;
    instance.animation = "walk";
    instance.phase = 0.25f;
    instance.skinName = "red.png";
    instance.skinTextureId = 4;
    instance.surfacePosition = {0, 0, 0};
    return instance;
}

TEST(InstanceRecord, FieldsInOrderWithTerminatedNames) {
    std::vector<std::uint8_t> bytes;
    Walker().Save(bytes);
    ASSERT_EQ(bytes.size(), 12u + 12 + 4 + 4 + 5 + 4 + 4 + 8);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 24, bytes.begin() + 28),
              (std::vector<std::uint8_t>{1, 0, 1, 1}));
    EXPECT_EQ(bytes[28], 4);
    EXPECT_EQ(std::string(bytes.begin() + 32, bytes.begin() + 37), std::string("walk\0", 5));
    EXPECT_EQ(bytes[41], 7);
    EXPECT_EQ(bytes.back(), 0);

    CModelInstance loaded(nullptr, {}, {}, true, true, CModelInstance::Scenery);
    EXPECT_EQ(loaded.Load(bytes), bytes.size());
    const CModelInstance walker = Walker();
    EXPECT_EQ(loaded.position, walker.position);
    EXPECT_EQ(loaded.rotation, walker.rotation);
    EXPECT_FALSE(loaded.visible);
    EXPECT_TRUE(loaded.castsLighdows);
    EXPECT_EQ(loaded.animation, "walk");
    EXPECT_EQ(loaded.phase, 0.25f);
    EXPECT_EQ(loaded.skinName, "red.png");
    // The owner loads the skin again; the surface plane is computed afresh.
    EXPECT_EQ(loaded.skinTextureId, -1);
    EXPECT_EQ(loaded.surfacePosition.x, -1e38f);
}

TEST(InstanceRecord, EmptyAndNegativeLengthsGiveEmptyNames) {
    CModelInstance instance = Walker();
    instance.animation.clear();
    instance.skinName.clear();
    std::vector<std::uint8_t> bytes;
    instance.Save(bytes);
    EXPECT_EQ(bytes.size(), 12u + 12 + 4 + 4 + 4 + 4);
    PatchI32(bytes, 28, -7);
    CModelInstance loaded = Walker();
    EXPECT_EQ(loaded.Load(bytes), bytes.size());
    EXPECT_EQ(loaded.animation, "");
    EXPECT_EQ(loaded.skinName, "");
}

TEST(InstanceRecord, TruncatedRecordsChangeNothing) {
    std::vector<std::uint8_t> bytes;
    Walker().Save(bytes);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CModelInstance instance(nullptr, {9, 9, 9}, {}, true, true, CModelInstance::Scenery);
        EXPECT_EQ(ExceptionText([&] { instance.Load(std::span(bytes).first(size)); }),
                  "Exception:\nCModelInstance::Load - Instance record is truncated")
            << size;
        EXPECT_EQ(instance.position.x, 9.0f);
        EXPECT_EQ(instance.animation, "idle");
    }
}

} // namespace
