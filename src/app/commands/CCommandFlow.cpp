#include "app/commands/CCommandFlow.h"

#include "app/CGameScreens.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/commands/CWalkTarget.h"
#include "app/display/CDisplay.h"
#include "app/settings/CSettings.h"
#include "app/world/CGameWorld.h"
#include "app/screens/CContextWindowScreen.h"
#include "app/screens/CInputFieldScreen.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/CMessageBoxScreen.h"
#include "parser/CCommand.h"
#include "parser/EInterfaceBackend.h"
#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "state/CState.h"

#include <array>
#include <cctype>
#include <cstring>

namespace {

// The characters a sentence loses before it is parsed.
constexpr const char* kRemovedCharacters = "\"&',.:;\\";

Variant Text(const std::string& text) {
    return Variant::Bstr(AnsiToWide(text));
}

} // namespace

CCommandFlow::CCommandFlow(CGameWorld& world, CGameScreens& screens, CMessageBoxFlow& messageBoxes,
                           const CDisplay& display, const CSettings& settings)
    : m_world(world), m_screens(screens), m_messageBoxes(messageBoxes), m_display(display), m_settings(settings) {}

bool CCommandFlow::PickWindowHold() const {
    return !m_settings.Flag("pickwindowhold");
}

std::string CCommandFlow::PrepareSentence(std::string_view text) {
    std::string sentence;
    sentence.reserve(text.size());
    for (const char c : text) {
        if (std::strchr(kRemovedCharacters, c) == nullptr) {
            sentence += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return sentence;
}

void CCommandFlow::SetGameCommands(std::vector<std::string> objectCommands, std::vector<std::string> freeCommands) {
    m_objectCommands = std::move(objectCommands);
    m_freeCommands = std::move(freeCommands);
}

std::string CCommandFlow::AskScript(const char* function, const char* failure, const std::string& verb) {
    const Variant argument = Text(verb);
    Variant result;
    m_world.ScriptEngine().Call(function, {&argument, 1}, &result);
    if (result.Type() != VT_BSTR) {
        throw CADVException("%s", failure);
    }
    return WideToAnsi(result.BstrValue());
}

std::string CCommandFlow::OnAskVerb(const std::string& verb) {
    return AskScript("OnAskVerb", "CGame::OnAskVerb - OnAskVerb returned a non-string.", verb);
}

std::string CCommandFlow::OnAskPreposition(const std::string& verb) {
    return AskScript("OnAskPreposition", "CGame::OnAskPreposition - OnAskPreposition returned a non-string.", verb);
}

bool CCommandFlow::ExecuteAction(const std::string& sentence, const std::string& verb, const std::string& object1,
                                 const std::string& object2) {
    const std::array<Variant, 4> args{Text(sentence), Text(verb), Text(object1), Text(object2)};
    Variant result;
    m_world.ScriptEngine().Call("OnAction", args, &result);
    return !(result.Type() == VT_BOOL && result.BoolValue() == VARIANT_FALSE);
}

void CCommandFlow::ExecuteCommand() {
    CCommand& command = m_world.Command();
    command.Clear();
    const std::string sentence = PrepareSentence(CommandText());
    std::string verb;
    std::string object1;
    std::string object2;
    try {
        command.Parse(sentence);
        verb = command.GetVerb();
        object1 = command.Object1();
        object2 = command.Object2();
    } catch (const EInterfaceBackend&) {
        // The scripts get what the parser could not read as it stands.
        verb.clear();
        object1.clear();
        object2.clear();
    }
    CScene* scene = m_world.Scene();
    if (scene == nullptr || !scene->OnAction(sentence, verb, object1, object2)) {
        ExecuteAction(sentence, verb, object1, object2);
    }
    if (m_clearAfter && m_messageBoxes.Idle()) {
        ClearCommandLine();
    }
}

void CCommandFlow::ShowContextWindow(const std::string& caption, const CSceneObject* object) {
    const bool ownList = object != nullptr && !object->ContextList().empty();
    const std::vector<std::string>& entries =
        ownList ? object->ContextList() : (caption.empty() ? m_freeCommands : m_objectCommands);
    m_contextNamesPicked = object != nullptr && !ownList;
    m_screens.ContextWindow().Open(caption.empty() ? kFreeCommandsCaption : caption, entries);
}

void CCommandFlow::PlaceContextWindow(int x, int y) {
    m_screens.ContextWindow().PlaceAt(x, y, m_display.Width(), m_display.Height());
}

bool CCommandFlow::ContextWindowPress(int x, int y) {
    CContextWindowScreen& window = m_screens.ContextWindow();
    if (!window.Visible()) {
        return false;
    }
    const bool inside = window.Contains(x, y);
    const std::string entry = inside && PickWindowHold() ? window.EntryAt(x, y) : std::string();
    window.Hide();
    if (!entry.empty()) {
        ChooseVerb(entry);
    }
    return inside;
}

void CCommandFlow::RightReleased() {
    CContextWindowScreen& window = m_screens.ContextWindow();
    if (PickWindowHold() || !window.Visible()) {
        return;
    }
    const std::string entry = window.HighlightedEntry();
    window.Hide();
    if (!entry.empty()) {
        ChooseVerb(entry);
    }
}

void CCommandFlow::CursorMoved(int x, int y) {
    CContextWindowScreen& window = m_screens.ContextWindow();
    if (window.Visible()) {
        window.HighlightAt(x, y);
    }
}

void CCommandFlow::ChooseVerb(const std::string& verb) {
    const std::string answer = OnAskVerb(verb);
    const CSceneObject* picked = PickedObject();
    if (m_contextNamesPicked && picked != nullptr) {
        SetCommandText(answer + " " + picked->PickName());
    } else if (picked == nullptr && !m_selectedItem.empty()) {
        SetCommandText(answer + " " + m_selectedItem);
    } else {
        SetCommandText(answer);
    }
    const std::string preposition = OnAskPreposition(verb);
    if (!preposition.empty()) {
        // The sentence waits for its second object.
        SetCommandText(CommandText() + " " + preposition);
        return;
    }
    m_clearAfter = true;
    ExecuteCommand();
}

void CCommandFlow::CompleteWith(const std::string& object) {
    SetCommandText(CommandText() + " " + object);
    m_clearAfter = true;
    ExecuteCommand();
    m_screens.ContextWindow().Hide();
}

void CCommandFlow::RightPressed(int x, int y) {
    if (!m_world.Setup().GetBool(u"inputfield")) {
        return;
    }
    CInventoryScreen& inventory = m_screens.Inventory();
    if (inventory.WindowVisible() && inventory.WindowContains(x, y)) {
        m_pickedId.reset();
        m_selectedItem = inventory.SelectAt(x, y);
        if (m_selectedItem.empty()) {
            return;
        }
        if (CommandText().empty()) {
            ShowContextWindow(m_selectedItem, nullptr);
            PlaceContextWindow(x, y);
        } else {
            CompleteWith(m_selectedItem);
        }
        return;
    }
    const CSceneObject* picked = ObjectUnderCursor(x, y, true);
    SetPickedObject(picked);
    m_selectedItem.clear();
    if (picked == nullptr) {
        ShowContextWindow("", nullptr);
        PlaceContextWindow(x, y);
    } else if (!CommandText().empty()) {
        CompleteWith(picked->PickName());
    } else {
        ShowContextWindow(picked->PickName(), picked);
        PlaceContextWindow(x, y);
    }
}

CSceneObject* CCommandFlow::ObjectUnderCursor(int x, int y, bool pickableOnly) {
    const CScene* scene = m_world.Scene();
    const std::uint32_t id = scene != nullptr ? m_world.Renderer().PickColour(x, y) : 0;
    if (id == 0) {
        return nullptr;
    }
    return pickableOnly ? scene->FindPickableById(id) : scene->FindById(id);
}

void CCommandFlow::LeftPressedInScene(int x, int y) {
    CScene* scene = m_world.Scene();
    if (scene == nullptr) {
        return;
    }
    CSceneObject* under = ObjectUnderCursor(x, y, false);
    CSceneObject* picked = under != nullptr && under->Pickable() ? under : nullptr;
    SetPickedObject(picked);
    CSceneObject* mover = scene->FreeMoveObject();
    if (mover == nullptr) {
        return;
    }
    std::optional<D3DXVECTOR3> target;
    if (picked != nullptr && picked != mover) {
        const D3DXVECTOR3 at = picked->GetPosition();
        target = D3DXVECTOR3(at.x, mover->GetPosition().y, at.z);
    } else {
        C3DEngine2& renderer = m_world.Renderer();
        target = CWalkTarget::Choose(*mover, CWalkTarget::Floor(renderer, m_world.Polygons(), *mover, x, y),
                                     CWalkTarget::Surface(renderer, *scene, under, *mover, x, y));
    }
    if (target) {
        mover->WalkTo(kWalkSpeed, *target, kWalkAnimation, {}, {}, true, true, true, false);
    }
}

void CCommandFlow::SetCommandText(const std::string& text) {
    m_commandText = text;
    m_screens.InputField().SetCommandText(m_commandText);
}

void CCommandFlow::ClearCommandLine() {
    SetCommandText("");
    m_clearAfter = false;
}

CSceneObject* CCommandFlow::PickedObject() const {
    const CScene* scene = m_world.Scene();
    return scene != nullptr && m_pickedId ? scene->FindById(*m_pickedId) : nullptr;
}

void CCommandFlow::SetPickedObject(const CSceneObject* object) {
    m_pickedId.reset();
    if (object != nullptr && object->Instance() != nullptr) {
        m_pickedId = object->Instance()->objectId;
    }
}

void CCommandFlow::Reset() {
    m_pickedId.reset();
    m_selectedItem.clear();
    m_clearAfter = false;
}
