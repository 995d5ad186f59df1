#include "app/display/DisplayModes.h"

#include <algorithm>

std::vector<DDisplayMode> AcceptDisplayModes(const std::vector<DDisplayMode>& modes) {
    std::vector<DDisplayMode> kept;
    for (const DDisplayMode& mode : modes) {
        if (mode.width < 1024 || mode.height != (mode.width * 3) / 4) {
            continue;
        }
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const DDisplayMode& k) {
            return k.width == mode.width && k.height == mode.height;
        });
        if (same == kept.end()) {
            kept.push_back(mode);
        } else if (mode.refreshRate > same->refreshRate) {
            *same = mode;
        }
    }
    return kept;
}

DDisplayMode ChooseDisplayMode(const std::vector<DDisplayMode>& accepted, int width, int height) {
    for (const DDisplayMode& mode : accepted) {
        if (static_cast<int>(mode.width) == width && static_cast<int>(mode.height) == height) {
            return mode;
        }
    }
    return accepted.front();
}
