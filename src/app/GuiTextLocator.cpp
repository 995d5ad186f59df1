#include "app/GuiTextLocator.h"

#include "render/gui/CGuiComponentText.h"

namespace {

// Walks the tree in drawing order (a component, then its children in order),
// so the last match is the one on top. Hidden subtrees are not drawn.
void FindLast(const CGuiComponent& component, const std::string& text, const CGuiComponent*& found) {
    if (!component.IsVisible()) {
        return;
    }
    if (const auto* label = dynamic_cast<const CGuiComponentText*>(&component);
        label && label->Text() == text) {
        found = label;
    }
    for (const auto& child : component.Children()) {
        FindLast(*child, text, found);
    }
}

} // namespace

std::optional<std::pair<int, int>> FindGuiText(const CGuiComponent& root, const std::string& text) {
    const CGuiComponent* found = nullptr;
    FindLast(root, text, found);
    if (found == nullptr) {
        return std::nullopt;
    }
    return std::pair{found->AbsoluteLeft() + found->Width() / 2, found->AbsoluteTop() + found->Height() / 2};
}
