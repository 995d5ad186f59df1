#pragma once

#include <optional>
#include <string>
#include <utility>

class CGuiComponent;

// The back-buffer centre of the topmost GUI text (a text component or a list
// entry) that reads `text` (in the GUI's code page) and is shown: it and every
// component above it are visible. The topmost is the one drawn last. Nothing
// when the screen shows no such text.
std::optional<std::pair<int, int>> FindGuiText(const CGuiComponent& root, const std::string& text);
