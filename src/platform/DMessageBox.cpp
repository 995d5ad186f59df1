#include "platform/DMessageBox.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace DMessageBox {

bool DisplayAvailable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        return false;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void ShowFatal(const std::string& caption, const std::string& text, bool allowDialog) {
    std::fputs(text.c_str(), stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
    if (allowDialog && DisplayAvailable()) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
    }
}

} // namespace DMessageBox
