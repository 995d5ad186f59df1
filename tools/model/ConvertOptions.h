#pragma once

#include <string>
#include <vector>

// How `morvane-model convert` turns a model into the engine's coordinates and animations.

enum class UpAxis { Y, Z };

// An animation of the source file to keep, and the name the sprite gives it.
struct AnimationChoice {
    std::string source;
    std::string name;
};

struct ConvertOptions {
    float scale = 1.0f;
    // Z: the file's z points up, as in many modelling programs; turned to the engine's y.
    UpAxis up = UpAxis::Y;
    // Mirrors z and reverses the winding: the engine is left-handed, glTF and most
    // exporters are right-handed, and without it the model comes out mirrored.
    bool flipHandedness = false;
    float fps = 10.0f;
    // Empty: every animation, under its own name.
    std::vector<AnimationChoice> animations;
};
