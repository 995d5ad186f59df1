#pragma once

#include "ConvertOptions.h"

#include <filesystem>

// morvane-model convert: reads `input` (glTF 2.0, .glb, OBJ with MTL) and
// writes `output` as IMS2, or as SPRT when animations are kept, and beside it
// the collision file `output` + ".col", the outline computed by the engine's
// own code. Everything is checked and built before the first byte is written;
// each file is replaced through a temporary one. Failures throw CADVException
// naming the file and the problem.
void ConvertModel(const std::filesystem::path& input, const std::filesystem::path& output,
                  const ConvertOptions& options);
