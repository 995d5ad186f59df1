#include "app/savegame/CSaveSlots.h"

#include "app/savegame/CSavegameReader.h"
#include "platform/DReport.h"
#include "render/image/ImageCodec.h"
#include "render/image/PngCodec.h"
#include "resources/CADVException.h"
#include "resources/CFile.h"
#include "resources/FileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// Pictures are small; a file claiming more than this is none of ours and
// would only cost memory to decode.
constexpr int kLargestPictureSide = 1024;

std::optional<CImage> ReadPicture(const std::filesystem::path& file) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file);
    if (!bytes || !kPngCodec.Matches(*bytes)) {
        return std::nullopt;
    }
    const std::optional<ImageHeader> header = kPngCodec.ReadHeader(*bytes);
    if (!header || header->width > kLargestPictureSide || header->height > kLargestPictureSide) {
        return std::nullopt;
    }
    CImage picture;
    if (!kPngCodec.Decode(*bytes, picture)) {
        return std::nullopt;
    }
    return picture;
}

// Only plain files: whatever else stands there was not put there by a save.
void RemoveFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) {
        std::filesystem::remove(file, ec);
    }
}

} // namespace

CSaveSlots::CSaveSlots(std::filesystem::path folder, CKeySet keys)
    : m_folder(std::move(folder)), m_keys(keys) {}

std::string CSaveSlots::SlotName(int slot) {
    if (slot < 0 || slot >= kSlotCount) {
        throw CADVException("CSaveSlots - There is no savegame slot %d (slots are 0 to %d).", slot,
                            kSlotCount - 1);
    }
    char name[4];
    std::snprintf(name, sizeof name, "%02d", slot);
    return name;
}

std::filesystem::path CSaveSlots::SavegamePath(int slot) const {
    return m_folder / (SlotName(slot) + ".sav");
}

std::filesystem::path CSaveSlots::PicturePath(int slot) const {
    return m_folder / (SlotName(slot) + ".png");
}

std::vector<CSaveSlots::Slot> CSaveSlots::List() const {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        ReportWarning("savegame folder " + m_folder.string() + " cannot be created (" + ec.message() + ").");
    }
    std::vector<Slot> slots;
    slots.reserve(kSlotCount);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slots.push_back(Inspect(slot));
    }
    return slots;
}

CSaveSlots::Slot CSaveSlots::Inspect(int slot) const {
    Slot out;
    out.number = slot;
    const std::filesystem::path file = SavegamePath(slot);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return out;
    }
    try {
        CSavegameReader reader(Read(slot), file.filename().string());
        out.description = reader.ReadHeader();
    } catch (const CADVException& e) {
        ReportWarning("savegame " + file.string() + " cannot be loaded: " + e.Reason());
        out.state = SlotState::Damaged;
        return out;
    }
    out.state = SlotState::Saved;
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(file, ec);
    if (!ec) {
        out.savedAt = written;
    }
    out.picture = ReadPicture(PicturePath(slot));
    return out;
}

std::string CSaveSlots::Label(const Slot& slot) {
    const std::string name = SlotName(slot.number);
    switch (slot.state) {
    case SlotState::Saved:
        return name + " - " + slot.description;
    case SlotState::Damaged:
        return name + " - damaged";
    case SlotState::Empty:
        break;
    }
    return name + " - empty";
}

std::vector<std::uint8_t> CSaveSlots::Read(int slot) const {
    const std::filesystem::path file = SavegamePath(slot);
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file);
    if (!bytes) {
        throw CADVException("CSaveSlots::Read - Savegame %s cannot be read.", file.c_str());
    }
    CFile content;
    content.LoadEncrypted(*bytes, file.string(), m_keys);
    return {content.Data(), content.Data() + content.Length()};
}

void CSaveSlots::Write(int slot, std::span<const std::uint8_t> content, const CImage* picture) const {
    const std::string name = SlotName(slot);
    // An empty file would not be written at all, and the player told it was saved.
    if (content.empty()) {
        throw CADVException(
            "CSaveSlots::Write - The game could not be saved in slot %s: there is nothing to save.",
            name.c_str());
    }
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        throw CADVException(
            "CSaveSlots::Write - The game could not be saved in slot %s: the savegame folder %s "
            "cannot be created (%s).",
            name.c_str(), m_folder.c_str(), ec.message().c_str());
    }
    CFile file;
    file.Write(content.data(), content.size());
    try {
        file.SaveEncrypted(SavegamePath(slot), m_keys);
    } catch (const CADVException& e) {
        throw CADVException("CSaveSlots::Write - The game could not be saved in slot %s: %s", name.c_str(),
                            e.Reason());
    }
    WritePicture(slot, picture);
}

void CSaveSlots::WritePicture(int slot, const CImage* picture) const {
    const std::filesystem::path file = PicturePath(slot);
    if (picture == nullptr) {
        RemoveFile(file);
        return;
    }
    const std::optional<std::vector<std::uint8_t>> png =
        WritePng(picture->Width(), picture->Height(), picture->Pixels());
    try {
        if (!png) {
            throw CADVException("The picture of %d x %d pixels cannot be encoded.", picture->Width(),
                                picture->Height());
        }
        WriteWholeFileReplacing(file, *png);
    } catch (const CADVException& e) {
        // The save itself is done; the slot only shows no picture.
        ReportWarning("savegame picture " + file.string() + " is not written: " + e.Reason());
        RemoveFile(file);
    }
}

CImage SavePicture(std::span<const std::uint8_t> rgba, int width, int height) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        throw CADVException("SavePicture - %zu bytes are no frame of %d x %d pixels.", rgba.size(), width,
                            height);
    }
    CImage frame(width, height);
    std::memcpy(frame.Data(), rgba.data(), rgba.size());
    // The frame's proportions, as large as fits.
    const double scale =
        std::min(double{CSaveSlots::kPictureWidth} / width, double{CSaveSlots::kPictureHeight} / height);
    const int pictureWidth = std::max(1, static_cast<int>(std::lround(width * scale)));
    const int pictureHeight = std::max(1, static_cast<int>(std::lround(height * scale)));
    CImage picture = frame.Resized(pictureWidth, pictureHeight);
    // The device's alpha channel says nothing about the scene; drawn as read
    // back, the picture would come out transparent.
    for (int y = 0; y < pictureHeight; ++y) {
        for (int x = 0; x < pictureWidth; ++x) {
            picture.At(x, y)[3] = 255;
        }
    }
    return picture;
}
