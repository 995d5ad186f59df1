#include "app/CScreenSync.h"

#include "app/CGameScreens.h"
#include "app/world/CGameWorld.h"
#include "resources/CADVException.h"
#include "script/TextConversion.h"
#include "state/CState.h"

CScreenSync::CScreenSync(CGameScreens& screens, CGameWorld& world) : m_screens(screens), m_world(world) {}

void CScreenSync::Reset() {
    m_infoShown.clear();
    m_screens.InputField().SetInfoText("");
}

void CScreenSync::Update() {
    const bool inputField = m_world.Setup().GetBool(u"inputfield");
    m_screens.InputField().Show(inputField);
    m_screens.Inventory().ShowPanel(inputField);
    try {
        ShowInfoText();
    } catch (const CADVException&) {
        // A text that cannot be drawn costs only its own display this frame.
    }
    if (m_screens.Inventory().WindowVisible()) {
        RefreshInventory(false);
    }
}

void CScreenSync::ShowInfoText() {
    // Compared in place: this runs every frame and must not allocate.
    const Variant* info = m_world.Setup().FindValue(u"info");
    if (info != nullptr && info->Type() == VT_BSTR && info->BstrValue() != m_infoShown) {
        m_infoShown = info->BstrValue();
        m_screens.InputField().SetInfoText(WideToAnsi(m_infoShown));
    }
}

void CScreenSync::RefreshInventory(bool force) {
    CState& inventory = m_world.Inventory();
    if (!inventory.IsModified() && !force) {
        return;
    }
    inventory.ClearModified();
    m_screens.Inventory().SetItems(m_world.CarriedItems());
}
