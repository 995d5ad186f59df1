#pragma once

#include <string>

// Fatal-error reporting at the top level: the text always goes to stderr
// first (followed by a line feed), then to a modal box when a display exists.
namespace DMessageBox {

void ShowFatal(const std::string& caption, const std::string& text, bool allowDialog);

// True when a desktop session could show a dialog (X11 or Wayland present,
// and no headless video driver chosen).
bool DisplayAvailable();

} // namespace DMessageBox
