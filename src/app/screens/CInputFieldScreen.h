#pragma once

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// The band at the top of the screen: the command line the player types or
// builds with the mouse, and the game's info text at its right end.
class CInputFieldScreen {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 40;
    // The command line's sunken frame, relative to the field.
    static constexpr int kInnerLeft = 4;
    static constexpr int kInnerTop = 4;
    static constexpr int kInnerRight = 666;
    static constexpr int kInnerBottomMargin = 4;
    // Room between the sunken frame and the command text.
    static constexpr int kCommandPadding = 4;
    // The info text's rectangle ends kInfoRightMargin before the field's right
    // edge and starts the text's width plus kInfoLeftGap before it, so the
    // text itself, drawn from the rectangle's left, ends kInfoLeftGap from it.
    static constexpr int kInfoRightMargin = 4;
    static constexpr int kInfoLeftGap = 12;
    static constexpr int kInfoTop = 8;
    static constexpr int kInfoBottomMargin = 4;

    // Built hidden under `root`; Relayout places it.
    explicit CInputFieldScreen(CGuiComponent& root);
    CInputFieldScreen(const CInputFieldScreen&) = delete;
    CInputFieldScreen& operator=(const CInputFieldScreen&) = delete;

    void Relayout(int screenWidth, int screenHeight);
    void Show(bool visible);
    bool Visible() const;

    // The game sets both every frame; a text is rasterised again only when it
    // changed.
    void SetCommandText(const std::string& text);
    const std::string& CommandText() const;
    void SetInfoText(const std::string& text);
    const std::string& InfoText() const;

    // Screen pixels, edges included; false while hidden.
    bool Contains(int x, int y) const;

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentFrame& InnerFrame() const { return m_inner; }
    const CGuiComponentText& CommandTextComponent() const { return m_command; }
    const CGuiComponentText& InfoTextComponent() const { return m_info; }

private:
    // Right-aligned for the width of its current text.
    void PlaceInfoText();

    CGuiComponentFrame& m_frame;
    CGuiComponentFrame& m_inner;
    CGuiComponentText& m_command;
    CGuiComponentText& m_info;
};
