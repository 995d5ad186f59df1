#pragma once

#include "app/screens/CMenuPanelScreen.h"

#include <string>
#include <vector>

class CGuiComponentImage;
class CGuiComponentList;
class CGuiComponentText;
class CImage;

// The savegame slots to load from or save into: their list, one slot a row,
// and beside it the picture and the time of the slot under the cursor.
class CSlotPanelScreen : public CMenuPanelScreen {
public:
    static constexpr int kSlotCount = 20;
    static constexpr int kListCaptionTop = 44;
    static constexpr int kListTop = 72;
    static constexpr int kListWidth = 480;
    // Every slot's row fits the list when its text is no higher than this.
    static constexpr int kSlotRowHeight = 22;
    static constexpr int kPictureLeft = kPadding + kListWidth + 16;
    static constexpr int kPictureWidth = 160;
    static constexpr int kPictureHeight = 120;
    // Between the picture and the time under it.
    static constexpr int kSavedAtGap = 8;

    // Built hidden and empty under `parent`.
    CSlotPanelScreen(CGuiComponent& parent, const std::string& title, const std::string& listCaption);

    // One label a slot, in slot order, in place of the list before.
    void SetSlots(const std::vector<std::string>& labels);
    // A slot not in the list is left alone.
    void SetSlotLabel(int slot, const std::string& label);
    std::vector<std::string> Slots() const;

    // The picture (drawn anew each time) and the time of the slot under the
    // cursor; no picture and an empty time for a slot without them.
    void ShowDetails(const CImage* picture, const std::string& savedAt);

    // Slot with the slot's number, or None.
    GameMenuHit HitAt(int x, int y) const override;

    const CGuiComponentText& ListCaption() const { return m_listCaption; }
    const CGuiComponentList& List() const { return m_list; }
    const CGuiComponentImage& Picture() const { return m_picture; }
    const CGuiComponentText& SavedAt() const { return m_savedAt; }

private:
    CGuiComponentText& m_listCaption;
    CGuiComponentList& m_list;
    CGuiComponentImage& m_picture;
    CGuiComponentText& m_savedAt;
};
