#pragma once

#include <cstdint>
#include <string>
#include <vector>

class C3DEngine2;
class CPolygonTable;
class CScene;
class CState;

// What a savegame holds, borrowed from the running game.
struct CSavegameParts {
    CState& state;
    CState& inventory;
    CState& setup;
    const CScene& scene;
    const C3DEngine2& renderer; // the camera
    const CPolygonTable& polygons;
};

// The plain (not yet enciphered) content, exactly as the layout: header tag 6, the 256-byte description
// (first 255 characters, zero-padded), tag 1 + state record, tag 2 + inventory, tag 5 + setup, tag 3 + scene
// record, tag 4 + camera (36 bytes), tag 7 + polygons (per entry in table order: length, name bytes, enabled
// byte; then 0), end tag 0. An unnamed polygon throws CADVException
// "CGame::Save() - Polygon with no name was defined, and this can't be saved."
std::vector<std::uint8_t> WriteSavegame(const std::string& description, const CSavegameParts& parts);
