#pragma once

#include <cstddef>
#include <cstdint>

// The fixed parts of a savegame's content: its section tags in file order and
// the header's size. Sections are framed only by their tags; each record
// knows its own length.
namespace SavegameLayout {

constexpr std::uint32_t kHeaderTag = 6;
constexpr std::uint32_t kStateTag = 1;
constexpr std::uint32_t kInventoryTag = 2;
constexpr std::uint32_t kSetupTag = 5;
constexpr std::uint32_t kSceneTag = 3;
constexpr std::uint32_t kCameraTag = 4;
constexpr std::uint32_t kPolygonTag = 7;
constexpr std::uint32_t kEndTag = 0;

// The description field: at most 255 characters, the rest zero, so the last
// byte always ends the text.
constexpr std::size_t kDescriptionSize = 256;
constexpr std::size_t kHeaderSize = 4 + kDescriptionSize;

// The polygon list ends at a name length of 0, or of this or more: names that
// long are not read back, so such a length (or a damaged one) ends the list
// instead of being taken as a name.
constexpr std::uint32_t kPolygonNameLimit = 256;

} // namespace SavegameLayout
