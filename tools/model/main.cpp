// morvane-model: converts glTF 2.0 and OBJ models into the engine's model
// files and tells what a model or collision file holds.

#include "ModelConverter.h"
#include "ModelInfo.h"

#include "resources/CADVException.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-model convert INPUT OUTPUT [options]
       morvane-model info FILE

convert reads INPUT, a glTF 2.0 model (.gltf with its buffer files, or .glb)
or a Wavefront OBJ model with its MTL file, and writes OUTPUT in the engine's
own format: an IMS2 mesh when no animation is kept, else an SPRT sprite with
one named animation for each kept one, sampled into whole frame meshes (node
and skinned animation are baked into the frames' vertices). Beside it goes
OUTPUT.col, the collision outline the engine computes for the model.
Triangles are grouped by material; each material keeps its diffuse and
emissive colours, is transparent when its alpha is below 1, and names its
base colour texture by its path below the model's folder.

Options of convert:
  --scale S             multiply every position by S (default 1)
  --up y|z              the axis that points up in INPUT (default y); z is
                        turned into the engine's y
  --flip-handedness     mirror z and reverse the winding of every triangle:
                        the engine is left-handed, glTF and most exporters
                        right-handed, and without it such a model is mirrored
  --fps N               frames per second of sampled animations (default 10)
  --animation SRC=NAME  keep the animation SRC, named NAME in the sprite;
                        repeat for more. Without it every animation is kept
                        under its own name.

info prints what FILE holds, an IMS2 or SPRT model (with FILE.col when it is
there) or a .col file: animations and their frame counts, vertex and index
counts, materials and textures, bounds and the collision outline, after
reading it as the engine reads it.

Exit status: 0 when done, 1 when an input file is wrong (the message names
the file and the problem; nothing is written), 2 for a wrong command line.
)";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

std::optional<float> Number(const std::string& text) {
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Reads the options after INPUT and OUTPUT; nullopt when one is wrong.
std::optional<ConvertOptions> ParseOptions(const std::vector<std::string>& args) {
    ConvertOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--flip-handedness") {
            options.flipHandedness = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (option == "--scale") {
            const auto scale = Number(value);
            if (!scale || !(*scale > 0.0f)) {
                return std::nullopt;
            }
            options.scale = *scale;
        } else if (option == "--fps") {
            const auto fps = Number(value);
            if (!fps || !(*fps > 0.0f && *fps <= 1000.0f)) {
                return std::nullopt;
            }
            options.fps = *fps;
        } else if (option == "--up" && (value == "y" || value == "z")) {
            options.up = value == "y" ? UpAxis::Y : UpAxis::Z;
        } else if (option == "--animation" && value.find('=') != std::string::npos) {
            const std::size_t equals = value.find('=');
            options.animations.push_back({value.substr(0, equals), value.substr(equals + 1)});
            if (options.animations.back().source.empty() || options.animations.back().name.empty()) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    try {
        if (args.size() >= 3 && args[0] == "convert") {
            const auto options = ParseOptions({args.begin() + 3, args.end()});
            if (!options) {
                return Usage();
            }
            ConvertModel(args[1], args[2], *options);
        } else if (args.size() == 2 && args[0] == "info") {
            PrintModelInfo(args[1], std::cout);
        } else {
            return Usage();
        }
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const CADVException& e) {
        std::cerr << e.Reason() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "morvane-model - " << e.what() << '\n';
    }
    return 1;
}
