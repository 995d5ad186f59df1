#include "app/menu/CGameMenu.h"

#include "app/CGameScreens.h"
#include "app/IGameSession.h"
#include "app/display/CDisplay.h"
#include "app/screens/COptionsPanelScreen.h"
#include "app/settings/CSettings.h"
#include "app/world/CGameWorld.h"
#include "platform/DWindow.h"
#include "sound/CSoundEngine.h"
#include "state/CState.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>

namespace {

using Panel = CGameMenuScreen::Panel;
using Target = CGameMenuScreen::Target;

constexpr std::uint32_t kEnter = 13;

// The slot's time as the player reads it, in local time.
std::string TimeText(const std::optional<std::filesystem::file_time_type>& when) {
    if (!when) {
        return {};
    }
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(*when));
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) ? text : "";
}

} // namespace

CGameMenu::CGameMenu(IGameSession& session, CGameScreens& screens, CSettings& settings, CDisplay& display,
                     CGameWorld& world, CSaveSlots& slots)
    : m_session(session), m_screens(screens), m_settings(settings), m_display(display), m_world(world),
      m_saveSlots(slots) {}

bool CGameMenu::Shown() const {
    return m_screens.GameMenu().Visible();
}

void CGameMenu::Open() {
    // Taken before the menu covers the scene: the picture a save keeps.
    m_session.TakeSavePicture();
    CGameMenuScreen& screen = m_screens.GameMenu();
    COptionsPanelScreen& options = screen.Options();
    m_effectsSlider = SliderOf(m_settings.Int("effectvolume"));
    m_musicSlider = SliderOf(m_settings.Int("musicvolume"));
    options.SetEffectsSlider(m_effectsSlider);
    options.SetMusicSlider(m_musicSlider);

    const int width = m_settings.Int("resx");
    const int height = m_settings.Int("resy");
    m_modes.clear();
    int selected = -1;
    for (const DDisplayMode& mode : m_display.Modes()) {
        if (static_cast<int>(mode.width) == width && static_cast<int>(mode.height) == height) {
            selected = static_cast<int>(m_modes.size());
        }
        m_modes.push_back(std::to_string(mode.width) + "x" + std::to_string(mode.height));
    }
    options.SetResolutions(m_modes, selected);
    options.SetTextureQuality(m_display.Quality().textureQuality);
    ShowSwitches();

    const CState& setup = m_world.Setup();
    m_mayLoad = setup.GetBool(u"mayload");
    m_maySave = setup.GetBool(u"maysave") && setup.GetBool(u"inputfield");
    screen.ShowLoadButton(m_mayLoad);
    screen.ShowSaveButton(m_maySave);
    screen.Show(true);
    m_panel = Panel::Options;
}

void CGameMenu::Close() {
    m_screens.GameMenu().Show(false);
    m_settings.SetInt("effectvolume", VolumeOf(m_effectsSlider));
    m_settings.SetInt("musicvolume", VolumeOf(m_musicSlider));
}

void CGameMenu::Toggle() {
    Shown() ? Close() : Open();
}

void CGameMenu::Click(int x, int y) {
    Act(m_screens.GameMenu().HitAt(x, y));
}

void CGameMenu::Act(const CGameMenuScreen::Hit& hit) {
    CGameMenuScreen& screen = m_screens.GameMenu();
    switch (hit.target) {
    case Target::None:
        return;
    case Target::Close:
    case Target::OptionsClose:
        Close();
        return;
    case Target::Load:
        OpenSlots(Panel::Load);
        return;
    case Target::Save:
        OpenSlots(Panel::Save);
        return;
    case Target::Restart:
    case Target::Quit:
        m_panel = hit.target == Target::Quit ? Panel::Quit : Panel::Restart;
        screen.OpenPanel(m_panel);
        return;
    case Target::Yes:
        Confirm();
        return;
    case Target::No:
        m_panel = Panel::Options;
        screen.OpenPanel(m_panel);
        return;
    case Target::Slot:
        ChooseSlot(hit.index);
        return;
    case Target::EffectsSlider:
    case Target::MusicSlider:
        return;
    case Target::Resolution:
        m_display.ChooseResolution(hit.index);
        screen.Options().SetResolutions(m_modes, hit.index);
        return;
    case Target::TextureQuality:
        m_display.ChooseTextureQuality(hit.index);
        screen.Options().SetTextureQuality(hit.index);
        return;
    case Target::Shadows:
        ToggleSwitch("shadows");
        return;
    case Target::LightFx:
        ToggleSwitch("lighdows");
        return;
    case Target::Mirrors:
        ToggleSwitch("mirrors");
        return;
    }
}

void CGameMenu::Confirm() {
    if (m_panel == Panel::Quit) {
        m_session.Quit();
    } else if (m_panel == Panel::Restart) {
        Close();
        m_session.RestartGame();
    }
}

void CGameMenu::OpenSlots(Panel panel) {
    m_slots = m_saveSlots.List();
    std::vector<std::string> labels;
    for (const CSaveSlots::Slot& slot : m_slots) {
        labels.push_back(CSaveSlots::Label(slot));
    }
    CGameMenuScreen& screen = m_screens.GameMenu();
    m_panel = panel;
    screen.OpenPanel(panel);
    screen.SetSlots(labels);
    screen.ShowSlotDetails(nullptr, {});
    m_slotShown = -1;
}

void CGameMenu::ChooseSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_slots.size())) {
        return;
    }
    if (m_panel == Panel::Load) {
        // Empty and damaged slots hold nothing to load.
        if (m_slots[static_cast<std::size_t>(slot)].state == CSaveSlots::SlotState::Saved) {
            Close();
            m_session.Load(slot);
        }
        return;
    }
    if (m_panel == Panel::Save) {
        const std::string description = m_session.ConstructSavegameDescription();
        m_screens.GameMenu().SetSlotLabel(
            slot, CSaveSlots::Label({slot, CSaveSlots::SlotState::Saved, description, {}, {}}));
        m_session.Save(slot, description);
        // Listed again from the folder: a failed save shows what the slot really holds.
        OpenSlots(Panel::Save);
    }
}

void CGameMenu::CursorMoved(int x, int y, bool leftDown) {
    if (!Shown()) {
        return;
    }
    const CGameMenuScreen::Hit hit = m_screens.GameMenu().HitAt(x, y);
    if (leftDown && m_panel == Panel::Options &&
        (hit.target == Target::EffectsSlider || hit.target == Target::MusicSlider)) {
        Slide(hit.target, x);
    }
    if (m_panel == Panel::Load || m_panel == Panel::Save) {
        const int slot = hit.target == Target::Slot ? hit.index : -1;
        if (slot != m_slotShown) {
            m_slotShown = slot;
            const bool known = slot >= 0 && slot < static_cast<int>(m_slots.size());
            const CSaveSlots::Slot* shown = known ? &m_slots[static_cast<std::size_t>(slot)] : nullptr;
            m_screens.GameMenu().ShowSlotDetails(shown && shown->picture ? &*shown->picture : nullptr,
                                                        shown ? TimeText(shown->savedAt) : std::string());
        }
    }
}

void CGameMenu::Slide(Target slider, int x) {
    COptionsPanelScreen& options = m_screens.GameMenu().Options();
    const int value = options.SliderValueAt(slider, x);
    const int volume = VolumeOf(value);
    if (slider == Target::EffectsSlider) {
        m_effectsSlider = value;
        options.SetEffectsSlider(value);
        m_world.Sound().SetEffectVolume(volume);
    } else {
        m_musicSlider = value;
        options.SetMusicSlider(value);
        m_world.Sound().SetMusicVolume(volume);
    }
}

void CGameMenu::ToggleSwitch(const char* setting) {
    m_display.ToggleEffect(setting);
    ShowSwitches();
}

void CGameMenu::ShowSwitches() {
    m_screens.GameMenu().Options().SetSwitches(m_settings.Flag("shadows"), m_settings.Flag("lighdows"),
                                               m_settings.Flag("mirrors"));
}

void CGameMenu::Escape() {
    if (!Shown()) {
        Open();
    } else if (m_panel != Panel::Options) {
        m_panel = Panel::Options;
        m_screens.GameMenu().OpenPanel(m_panel);
    } else {
        Close();
    }
}

void CGameMenu::Shortcut(std::uint32_t character) {
    const bool confirming = m_panel == Panel::Quit || m_panel == Panel::Restart;
    switch (character < 0x80 ? std::tolower(static_cast<int>(character)) : 0) {
    case 'l':
        if (m_mayLoad) {
            Act({Target::Load});
        }
        break;
    case 's':
        if (m_maySave) {
            Act({Target::Save});
        }
        break;
    case 'r':
        Act({Target::Restart});
        break;
    case 'q':
        Act({Target::Quit});
        break;
    case 'y':
        if (confirming) {
            Act({Target::Yes});
        }
        break;
    case 'n':
        if (confirming) {
            Act({Target::No});
        }
        break;
    case 'g':
        Close();
        break;
    case kEnter:
        // The panel's default: its question answered yes, or back to the game from the options.
        if (confirming) {
            Act({Target::Yes});
        } else if (m_panel == Panel::Options) {
            Close();
        }
        break;
    default:
        break;
    }
}
