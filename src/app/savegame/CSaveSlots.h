#pragma once

#include "render/image/CImage.h"
#include "resources/CKeySet.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The 20 slots of one game's savegame folder: NN.sav (enciphered with the single-file key) and NN.png beside
// it.
class CSaveSlots {
public:
    static constexpr int kSlotCount = 20;
    static constexpr int kPictureWidth = 160, kPictureHeight = 120;

    enum class SlotState { Empty, Saved, Damaged };
    struct Slot {
        int number = 0;
        SlotState state = SlotState::Empty;
        std::string description;                                // Saved only
        std::optional<std::filesystem::file_time_type> savedAt; // when the .sav was written (Saved only)
        std::optional<CImage> picture; // NN.png when it exists and reads (Saved only)
    };

    CSaveSlots(std::filesystem::path folder, CKeySet keys);

    const std::filesystem::path& Folder() const { return m_folder; }
    // "07", "12"; a number outside 0 to 19 throws CADVException, here and in every call that takes a slot.
    static std::string SlotName(int slot);
    std::filesystem::path SavegamePath(int slot) const; // folder / "07.sav"
    std::filesystem::path PicturePath(int slot) const;  // folder / "07.png"

    // Every slot, creating the folder when it is missing. A file that cannot be deciphered, is shorter than a
    // header, or whose header tag is not 6 is Damaged, with a warning naming the file on stderr; it never
    // throws for a bad file (nor for a folder it cannot create: that warns too, and the slots list as empty).
    std::vector<Slot> List() const;
    // "07 - the description", "07 - empty", "07 - damaged".
    static std::string Label(const Slot& slot);
    // The deciphered content of a saved slot (CADVException when it cannot be read).
    std::vector<std::uint8_t> Read(int slot) const;
    // Enciphers and writes the content atomically (temporary file, fsync, rename), then the picture when one
    // is given (a failed picture write does not fail the save). A failure throws CADVException with a text
    // for the player and leaves the slot's previous file intact. Without a picture, an older one of the slot
    // is removed: it would show a scene the new save is not.
    void Write(int slot, std::span<const std::uint8_t> content, const CImage* picture) const;

private:
    Slot Inspect(int slot) const;
    void WritePicture(int slot, const CImage* picture) const;

    std::filesystem::path m_folder;
    CKeySet m_keys;
};

// A picture of about 160 x 120 from a frame read back from the device (RGBA rows top to bottom),
// box-filtered: the largest size within 160 x 120 that keeps the frame's proportions, opaque. A size that
// does not match the pixels throws CADVException.
CImage SavePicture(std::span<const std::uint8_t> rgba, int width, int height);
