#pragma once

#include "app/screens/GameMenuTargets.h"

#include <ostream>

// So a failed comparison of hits says which target and index it got.
inline std::ostream& operator<<(std::ostream& out, const GameMenuHit& hit) {
    return out << "{target " << static_cast<int>(hit.target) << ", index " << hit.index << "}";
}
