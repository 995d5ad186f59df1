#include "app/savegame/CSaveSlots.h"
#include "app/savegame/SavegameBytes.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;

std::vector<std::uint8_t> Header(const std::string& description, std::uint32_t tag = 6) {
    return SavegameBytes().Header(tag, description).U32(0).Bytes();
}

CImage Pattern(int width, int height) {
    CImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Set(x, y, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200, 255);
        }
    }
    return image;
}

TEST(CSaveSlots, SlotsAreNamedWithTwoDigits) {
    const CSaveSlots slots("/games/savegame", CKeySet::BuiltIn());
    const struct {
        int slot;
        const char* name;
    } cases[] = {{0, "00"}, {7, "07"}, {12, "12"}, {19, "19"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CSaveSlots::SlotName(c.slot), c.name);
        EXPECT_EQ(slots.SavegamePath(c.slot), fs::path("/games/savegame") / (std::string(c.name) + ".sav"));
        EXPECT_EQ(slots.PicturePath(c.slot), fs::path("/games/savegame") / (std::string(c.name) + ".png"));
    }
    for (int outside : {-1, 20}) {
        EXPECT_THROW(CSaveSlots::SlotName(outside), CADVException) << outside;
    }
}

TEST(CSaveSlots, AMissingFolderIsCreatedWithTwentyEmptySlots) {
    TempDir dir;
    const CSaveSlots slots(dir / "morvane" / "savegame", CKeySet::BuiltIn());
    const std::vector<CSaveSlots::Slot> listed = slots.List();
    EXPECT_TRUE(fs::is_directory(slots.Folder()));
    ASSERT_EQ(listed.size(), 20u);
    for (int n = 0; n < 20; ++n) {
        const CSaveSlots::Slot& slot = listed[static_cast<std::size_t>(n)];
        EXPECT_EQ(slot.number, n);
        EXPECT_EQ(slot.state, CSaveSlots::SlotState::Empty);
        EXPECT_FALSE(slot.savedAt);
        EXPECT_EQ(CSaveSlots::Label(slot), CSaveSlots::SlotName(n) + " - empty");
    }
}

TEST(CSaveSlots, AWrittenSlotListsItsDescriptionAndReadsBack) {
    TempDir dir;
    const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
    const std::vector<std::uint8_t> content = Header("On the bridge");
    slots.Write(7, content, nullptr);
    EXPECT_TRUE(fs::exists(dir / "07.sav"));
    EXPECT_EQ(slots.Read(7), content);
    // Enciphered on disk.
    EXPECT_NE(*ReadWholeFile(dir / "07.sav"), content);

    const CSaveSlots::Slot slot = slots.List()[7];
    EXPECT_EQ(slot.state, CSaveSlots::SlotState::Saved);
    EXPECT_EQ(slot.description, "On the bridge");
    EXPECT_EQ(slot.savedAt, fs::last_write_time(dir / "07.sav"));
    EXPECT_FALSE(slot.picture);
    EXPECT_EQ(CSaveSlots::Label(slot), "07 - On the bridge");
}

TEST(CSaveSlots, ReadingAnEmptySlotNamesItsFile) {
    TempDir dir;
    const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
    try {
        slots.Read(4);
        FAIL() << "read";
    } catch (const CADVException& e) {
        EXPECT_EQ(e.GetText(), "Exception:\nCSaveSlots::Read - Savegame " + (dir / "04.sav").string() +
                                   " cannot be read.");
    }
}

TEST(CSaveSlots, ADamagedFileListsAsDamagedWithAWarning) {
    CKeySet otherKeys = CKeySet::BuiltIn();
    otherKeys.file[3] ^= 0x21;
    const struct {
        const char* name;
        std::function<void(const CSaveSlots& slots, const fs::path& file)> make;
    } cases[] = {
        {"garbage", [](const CSaveSlots&, const fs::path& file) { WriteFile(file, "no savegame at all"); }},
        {"no length", [](const CSaveSlots&, const fs::path& file) { WriteFile(file, ""); }},
        {"shorter than a header",
         [](const CSaveSlots& slots, const fs::path&) {
             slots.Write(5, std::vector<std::uint8_t>(10, 6), nullptr);
         }},
        {"wrong header tag",
         [](const CSaveSlots& slots, const fs::path&) { slots.Write(5, Header("x", 5), nullptr); }},
        {"other keys",
         [&](const CSaveSlots& slots, const fs::path&) {
             CSaveSlots(slots.Folder(), otherKeys).Write(5, Header("x"), nullptr);
         }},
        {"a folder", [](const CSaveSlots&, const fs::path& file) { fs::create_directory(file); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
        slots.Write(4, Header("fine"), nullptr);
        c.make(slots, slots.SavegamePath(5));

        testing::internal::CaptureStderr();
        const std::vector<CSaveSlots::Slot> listed = slots.List();
        const std::string warnings = testing::internal::GetCapturedStderr();
        EXPECT_EQ(listed[5].state, CSaveSlots::SlotState::Damaged);
        EXPECT_EQ(CSaveSlots::Label(listed[5]), "05 - damaged");
        EXPECT_THAT(warnings, StartsWith("morvane: warning: savegame " + slots.SavegamePath(5).string() +
                                         " cannot be loaded: "));
        // The other slots are untouched by it.
        EXPECT_EQ(CSaveSlots::Label(listed[4]), "04 - fine");
        EXPECT_EQ(listed[6].state, CSaveSlots::SlotState::Empty);
    }
}

TEST(CSaveSlots, AFailedWriteThrowsAndKeepsThePreviousSave) {
    const struct {
        const char* name;
        const char* folder; // inside the temporary folder
        std::function<void(const fs::path& folder)> prepare;
    } cases[] = {
        {"the folder is a regular file", "saves",
         [](const fs::path& folder) { WriteFile(folder, "a file"); }},
        {"the folder's parent is a regular file", "file/saves",
         [](const fs::path& folder) { WriteFile(folder.parent_path(), "a file"); }},
        {"the savegame is a folder", "saves",
         [](const fs::path& folder) { fs::create_directories(folder / "03.sav"); }},
        {"the temporary file cannot be made", "saves",
         [](const fs::path& folder) {
             CSaveSlots(folder, CKeySet::BuiltIn()).Write(3, Header("earlier"), nullptr);
             fs::create_directory(folder / "03.sav.tmp");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path folder = dir / c.folder;
        c.prepare(folder);
        const std::optional<std::vector<std::uint8_t>> before = ReadWholeFile(folder / "03.sav");
        const CSaveSlots slots(folder, CKeySet::BuiltIn());
        try {
            slots.Write(3, Header("later"), nullptr);
            ADD_FAILURE() << "written";
        } catch (const CADVException& e) {
            EXPECT_THAT(e.GetText(),
                        StartsWith("Exception:\nCSaveSlots::Write - The game could not be saved in "
                                   "slot 03: "));
            EXPECT_THAT(e.GetText(), HasSubstr(folder.string()));
        }
        EXPECT_EQ(ReadWholeFile(folder / "03.sav"), before);
    }
}

TEST(CSaveSlots, NothingToSaveIsRefused) {
    TempDir dir;
    const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
    EXPECT_THROW(slots.Write(3, {}, nullptr), CADVException);
    EXPECT_FALSE(fs::exists(dir / "03.sav"));
}

TEST(CSaveSlots, PicturesAreWrittenBesideTheSaveAndListedWithIt) {
    TempDir dir;
    const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
    const CImage picture = Pattern(160, 120);
    slots.Write(12, Header("with a view"), &picture);
    ASSERT_TRUE(fs::exists(dir / "12.png"));
    const CSaveSlots::Slot listed = slots.List()[12];
    ASSERT_TRUE(listed.picture);
    EXPECT_EQ(listed.picture->Width(), 160);
    EXPECT_EQ(listed.picture->Height(), 120);
    EXPECT_EQ(listed.picture->Pixels(), picture.Pixels());

    // A save without a picture takes the old one away: it showed another moment.
    slots.Write(12, Header("in the dark"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "12.png"));
    EXPECT_FALSE(slots.List()[12].picture);
}

TEST(CSaveSlots, APictureThatDoesNotReadOrWriteLeavesTheSaveAlone) {
    TempDir dir;
    const CSaveSlots slots(dir.Path(), CKeySet::BuiltIn());
    const CImage picture = Pattern(16, 12);

    slots.Write(1, Header("unreadable picture"), &picture);
    WriteFile(dir / "01.png", "not a png");
    // The picture cannot be written, the save still is.
    fs::create_directory(dir / "02.png");
    testing::internal::CaptureStderr();
    slots.Write(2, Header("unwritable picture"), &picture);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                StartsWith("morvane: warning: savegame picture " + (dir / "02.png").string() + " is not written: "));

    const std::vector<CSaveSlots::Slot> listed = slots.List();
    for (int slot : {1, 2}) {
        EXPECT_EQ(listed[static_cast<std::size_t>(slot)].state, CSaveSlots::SlotState::Saved) << slot;
        EXPECT_FALSE(listed[static_cast<std::size_t>(slot)].picture) << slot;
    }
}

TEST(SavePicture, FitsTheFrameInto160By120KeepingItsShape) {
    const struct {
        int width, height, pictureWidth, pictureHeight;
    } cases[] = {
        {1024, 768, 160, 120}, {640, 480, 160, 120}, {1280, 720, 160, 90},
        {600, 800, 90, 120},   {80, 60, 160, 120},   {2000, 10, 160, 1},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> frame(static_cast<std::size_t>(c.width * c.height * 4), 0x40);
        const CImage picture = SavePicture(frame, c.width, c.height);
        EXPECT_EQ(picture.Width(), c.pictureWidth) << c.width << " x " << c.height;
        EXPECT_EQ(picture.Height(), c.pictureHeight) << c.width << " x " << c.height;
    }
}

TEST(SavePicture, AveragesTheFrameAndMakesItOpaque) {
    // Columns alternating black and white, alpha 0 as a device may read it back.
    const int width = 320, height = 240;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(width * height * 4), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 1; x < width; x += 2) {
            std::uint8_t* pixel = &frame[static_cast<std::size_t>((y * width + x) * 4)];
            pixel[0] = pixel[1] = pixel[2] = 200;
        }
    }
    const CImage picture = SavePicture(frame, width, height);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{159, 119}, std::pair{80, 60}}) {
        const std::uint8_t* pixel = picture.At(x, y);
        EXPECT_EQ(std::vector<int>(pixel, pixel + 4), (std::vector<int>{100, 100, 100, 255}))
            << x << "," << y;
    }
    EXPECT_THROW(SavePicture(frame, width + 1, height), CADVException);
    EXPECT_THROW(SavePicture({}, 0, 0), CADVException);
}

} // namespace
