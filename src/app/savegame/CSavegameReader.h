#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class C3DEngine2;
class CPolygonTable;
class CScene;
class CState;

// Reads a savegame's content section by section, in the order the load needs them; every read is bounds
// checked and a damaged or truncated section throws CADVException naming `source` (e.g. "07.sav") and what is
// wrong. Section tags are read but only the header's is checked: each record knows its own length, and a
// file whose section tags differ still loads.
class CSavegameReader {
public:
    CSavegameReader(std::vector<std::uint8_t> content, std::string source);

    // Header tag and description; throws when the tag is not 6.
    std::string ReadHeader();
    // Each store is replaced only when its record reads completely.
    void ReadStores(CState& state, CState& inventory, CState& setup);
    void ReadScene(CScene& scene);
    void ReadCamera(C3DEngine2& renderer);
    static constexpr const char* kUnknownPolygon = "Savegame is corrupt. Loading might have failed.";
    // Sets the enabled flag of each saved polygon; stops at a length of 0 or of 256 or more. A name the table
    // does not have is skipped, and the text kUnknownPolygon comes back for the player: the rest of the world
    // did load.
    std::optional<std::string> ReadPolygons(CPolygonTable& polygons);
    void ReadEnd();

private:
    std::size_t Remaining() const { return m_content.size() - m_at; }
    std::span<const std::uint8_t> Rest() const { return std::span(m_content).subspan(m_at); }
    // The 4-byte tag before a section; `section` names it when the content ends first.
    void SkipTag(const char* section);
    // The caller has made sure that four bytes remain.
    std::uint32_t TakeU32();
    void ReadStore(CState& store, const char* section);
    [[noreturn]] void Damaged(const std::string& problem) const;

    std::vector<std::uint8_t> m_content;
    std::string m_source;
    std::size_t m_at = 0;
};
