#pragma once

// What a click on the game menu lands on. Apart from the menu itself its
// panels answer with these, so they live on their own.
enum class GameMenuTarget {
    None,
    Close,
    Load,
    Save,
    Restart,
    Quit,
    Yes,
    No,
    Slot,
    OptionsClose,
    EffectsSlider,
    MusicSlider,
    Resolution,
    TextureQuality,
    Shadows,
    LightFx,
    Mirrors,
};

struct GameMenuHit {
    GameMenuTarget target = GameMenuTarget::None;
    // The slot number, the resolution's place in the list or the texture
    // quality (1, 2 or 4); -1 for the targets that need none.
    int index = -1;

    bool operator==(const GameMenuHit&) const = default;
};
