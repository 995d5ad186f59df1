#include "app/screens/CSlotPanelScreen.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentImage.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

namespace {

// The slots go down a single column.
constexpr int kLastColumn = 0;

} // namespace

CSlotPanelScreen::CSlotPanelScreen(CGuiComponent& parent, const std::string& title,
                                   const std::string& listCaption)
    : CMenuPanelScreen(parent, title),
      m_listCaption(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight)),
      m_list(m_frame.CreateChild<CGuiComponentList>()), m_picture(m_frame.CreateChild<CGuiComponentImage>()),
      m_savedAt(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kSmallFontHeight)) {
    m_listCaption.SetText(listCaption);
    ScreenLayout::PlaceText(m_listCaption, kPadding, kListCaptionTop, kListTop - kListCaptionTop);
    m_list.SetStyle(ScreenStyle::kText, ScreenStyle::kHighlightText, ScreenStyle::kSmallFontHeight,
                    kLastColumn);
    m_list.SetRect(kPadding, kListTop, kPadding + kListWidth, kListTop + kSlotCount * kSlotRowHeight);
    const int pictureBottom = kListTop + kPictureHeight;
    m_picture.SetRect(kPictureLeft, kListTop, kPictureLeft + kPictureWidth, pictureBottom);
    m_savedAt.SetRect(kPictureLeft, pictureBottom + kSavedAtGap, kWidth - kPadding,
                      pictureBottom + kSavedAtGap + kSlotRowHeight);
    ShowDetails(nullptr, "");
}

void CSlotPanelScreen::SetSlots(const std::vector<std::string>& labels) {
    m_list.Clear();
    for (const std::string& label : labels) {
        m_list.AddItem(label, false);
    }
    m_list.LayOut();
}

void CSlotPanelScreen::SetSlotLabel(int slot, const std::string& label) {
    m_list.SetItemText(slot, label, true);
}

std::vector<std::string> CSlotPanelScreen::Slots() const {
    return m_list.ItemTexts();
}

void CSlotPanelScreen::ShowDetails(const CImage* picture, const std::string& savedAt) {
    if (picture) {
        m_picture.DrawPicture(*picture);
    }
    m_picture.SetVisible(picture != nullptr);
    // The cursor passes over many rows; a time is rasterised only when it changes.
    if (savedAt != m_savedAt.Text()) {
        m_savedAt.SetText(savedAt);
    }
}

GameMenuHit CSlotPanelScreen::HitAt(int x, int y) const {
    const int slot = m_list.ItemAt(x, y);
    return slot >= 0 ? GameMenuHit{GameMenuTarget::Slot, slot} : GameMenuHit{};
}
