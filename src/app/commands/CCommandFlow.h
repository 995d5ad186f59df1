#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDisplay;
class CGameScreens;
class CGameWorld;
class CMessageBoxFlow;
class CSceneObject;
class CSettings;

// How the player's sentences come about and where they go: the command line
// that typing and the verb choice fill, the context window of verbs opened by
// a right click, the second object a preposition waits for, and the way from
// the finished sentence through the parser to the scene's and the game's
// OnAction.
class CCommandFlow {
public:
    static constexpr const char* kFreeCommandsCaption = "Action";
    // How a left click walks the free-move object.
    static constexpr std::int32_t kWalkSpeed = 500;
    static constexpr const char* kWalkAnimation = "walk";

    CCommandFlow(CGameWorld& world, CGameScreens& screens, CMessageBoxFlow& messageBoxes, const CDisplay& display,
                 const CSettings& settings);

    // Lower case, without " & ' , . : ; and backslashes; spaces stay.
    static std::string PrepareSentence(std::string_view text);

    // The context window's entries on an object without a list of its own,
    // and where no object was hit.
    void SetGameCommands(std::vector<std::string> objectCommands, std::vector<std::string> freeCommands);
    const std::vector<std::string>& ObjectCommands() const { return m_objectCommands; }
    const std::vector<std::string>& FreeCommands() const { return m_freeCommands; }

    // The game script's answers for a chosen verb; a result that is not a
    // string throws CADVException.
    std::string OnAskVerb(const std::string& verb);
    std::string OnAskPreposition(const std::string& verb);
    // The game script's OnAction; false only when it returned the boolean false.
    bool ExecuteAction(const std::string& sentence, const std::string& verb, const std::string& object1,
                       const std::string& object2);
    // Parses the command line and offers the action to the scene, then to the game.
    void ExecuteCommand();
    // Fills and shows the context window: the object's own list, else the
    // object commands under a caption, else the free commands under "Action".
    void ShowContextWindow(const std::string& caption, const CSceneObject* object);
    void PlaceContextWindow(int x, int y);

    // Mouse, in back-buffer pixels.
    // A press of either button while the context window is open: hides it and,
    // in the hold mode, chooses the entry under the cursor. True when the press
    // was inside the window and so goes no further.
    bool ContextWindowPress(int x, int y);
    // A right press that no window above the scene took: an inventory item or
    // the object under the cursor, for the context window or as the sentence's last object.
    void RightPressed(int x, int y);
    void RightReleased();
    // A left click that no screen took: the free-move object walks to the
    // object hit, or to the floor or scenery under the cursor.
    void LeftPressedInScene(int x, int y);
    void CursorMoved(int x, int y);

    // Typed text; the input field shows it.
    const std::string& CommandText() const { return m_commandText; }
    void SetCommandText(const std::string& text);
    // Empties the command line and clears the clear-after flag.
    void ClearCommandLine();
    bool ClearAfter() const { return m_clearAfter; }
    const std::string& LastCommand() const { return m_lastCommand; }
    void SetLastCommand(std::string command) { m_lastCommand = std::move(command); }

    // The object the last scene click hit, if it is still in the scene.
    CSceneObject* PickedObject() const;
    void SetPickedObject(const CSceneObject* object);
    const std::string& SelectedItem() const { return m_selectedItem; }
    // The picked object, the inventory selection and the clear-after flag go.
    void Reset();

private:
    void ChooseVerb(const std::string& verb);
    // Adds the second object (or the first, to a typed verb) and executes.
    void CompleteWith(const std::string& object);
    std::string AskScript(const char* function, const char* failure, const std::string& verb);
    // The scene's object drawn under the cursor, any or only a pickable one;
    // null for none (id 0 is the colour of empty space).
    CSceneObject* ObjectUnderCursor(int x, int y, bool pickableOnly);
    // Whether a press chooses from the context window (else the right button's release does).
    bool PickWindowHold() const;

    CGameWorld& m_world;
    CGameScreens& m_screens;
    CMessageBoxFlow& m_messageBoxes;
    const CDisplay& m_display;
    const CSettings& m_settings;
    std::string m_commandText;
    std::vector<std::string> m_objectCommands;
    std::vector<std::string> m_freeCommands;
    // Kept by id, which the scene never hands out twice: a script may delete the object meanwhile.
    std::optional<std::uint32_t> m_pickedId;
    std::string m_selectedItem;
    bool m_clearAfter = false;
    // The context window lists the object commands for the picked object,
    // so a chosen verb is followed by the object's pick name.
    bool m_contextNamesPicked = false;
    std::string m_lastCommand;
};
