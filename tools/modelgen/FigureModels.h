#pragma once

#include "render/model/CModelWriter.h"

#include <cstdint>
#include <vector>

// The sample game's characters: one figure of boxes facing -x, dressed in
// different colours, with "idle" (kIdleFrames frames, a slight breath) and
// "walk" (kWalkFrames frames, legs and arms swinging).
struct FigureColours {
    D3DCOLORVALUE skin;
    D3DCOLORVALUE shirt;
    D3DCOLORVALUE trousers;
};

// The player's character: blue shirt, brown trousers.
constexpr FigureColours kHeroColours{{0.9f, 0.7f, 0.55f, 1.0f}, {0.2f, 0.35f, 0.7f, 1.0f}, {0.3f, 0.25f, 0.2f, 1.0f}};
// The old gatekeeper: red coat, grey trousers, paler skin.
constexpr FigureColours kGuardColours{{0.85f, 0.72f, 0.62f, 1.0f}, {0.65f, 0.12f, 0.1f, 1.0f}, {0.35f, 0.35f, 0.38f, 1.0f}};

constexpr int kIdleFrames = 2;
constexpr int kWalkFrames = 8;

std::vector<std::uint8_t> FigureSprite(const FigureColours& colours);
