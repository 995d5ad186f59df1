#pragma once

#include "app/screens/GameMenuTargets.h"

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// One of the panels the game menu shows, one at a time, at its right: a
// sunken frame of a fixed size with its title in the top-left corner. What
// lies inside is the panel's own.
class CMenuPanelScreen {
public:
    static constexpr int kWidth = 732;
    static constexpr int kHeight = 528;
    // Between the frame's edge and what it holds.
    static constexpr int kPadding = 12;
    static constexpr int kTitleHeight = 28;

    CMenuPanelScreen(const CMenuPanelScreen&) = delete;
    CMenuPanelScreen& operator=(const CMenuPanelScreen&) = delete;
    virtual ~CMenuPanelScreen() = default;

    // The panel's top-left corner, relative to the menu.
    void MoveTo(int left, int top);
    void Show(bool visible);
    bool Visible() const;
    // What acts under the point (screen pixels); the menu asks only the panel
    // it shows.
    virtual GameMenuHit HitAt(int x, int y) const = 0;

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentText& Title() const { return m_title; }

protected:
    // Built hidden under `parent`.
    CMenuPanelScreen(CGuiComponent& parent, const std::string& title);

    CGuiComponentFrame& m_frame;

private:
    CGuiComponentText& m_title;
};
