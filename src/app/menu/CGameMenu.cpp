#include "app/menu/CGameMenu.h"

#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/screens/COptionsPanelScreen.h"
#include "platform/DRegistry.h"
#include "render/C3DEngine2.h"
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

CGameMenu::CGameMenu(CGame& game) : m_game(game) {}

bool CGameMenu::Shown() const {
    return m_game.Screens().GameMenu().Visible();
}

void CGameMenu::Open() {
    // Taken before the menu covers the scene: the picture a save keeps.
    m_game.TakeSavePicture();
    DRegistry& settings = m_game.Registry();
    CGameMenuScreen& screen = m_game.Screens().GameMenu();
    COptionsPanelScreen& options = screen.Options();
    const auto slider = [&settings](const char* volume) {
        const int value = std::clamp(settings.ReadInt(volume, kDefaultVolume, true), 0, kVolumeMaximum);
        return value * kSliderMaximum / kVolumeMaximum;
    };
    options.SetEffectsSlider(slider("effectvolume"));
    options.SetMusicSlider(slider("musicvolume"));

    const int width = settings.ReadInt("resx", DWindow::kClientWidth, false);
    const int height = settings.ReadInt("resy", DWindow::kClientHeight, false);
    m_modes.clear();
    int selected = -1;
    for (const DDisplayMode& mode : m_game.DisplayModes()) {
        if (static_cast<int>(mode.width) == width && static_cast<int>(mode.height) == height) {
            selected = static_cast<int>(m_modes.size());
        }
        m_modes.push_back(std::to_string(mode.width) + "x" + std::to_string(mode.height));
    }
    options.SetResolutions(m_modes, selected);
    options.SetTextureQuality(m_game.Quality().textureQuality);
    options.SetSwitches(settings.ReadInt("shadows", 1, false) != 0, settings.ReadInt("lighdows", 1, false) != 0,
                        settings.ReadInt("mirrors", 1, false) != 0);

    const CState& setup = m_game.Setup();
    m_mayLoad = setup.GetBool(u"mayload");
    m_maySave = setup.GetBool(u"maysave") && setup.GetBool(u"inputfield");
    screen.ShowLoadButton(m_mayLoad);
    screen.ShowSaveButton(m_maySave);
    screen.Show(true);
    m_panel = Panel::Options;
}

void CGameMenu::Close() {
    CGameMenuScreen& screen = m_game.Screens().GameMenu();
    screen.Show(false);
    DRegistry& settings = m_game.Registry();
    const COptionsPanelScreen& options = screen.Options();
    settings.WriteInt("effectvolume", options.EffectsSlider() * kVolumeMaximum / kSliderMaximum, true);
    settings.WriteInt("musicvolume", options.MusicSlider() * kVolumeMaximum / kSliderMaximum, true);
}

void CGameMenu::Toggle() {
    Shown() ? Close() : Open();
}

void CGameMenu::Click(int x, int y) {
    Act(m_game.Screens().GameMenu().HitAt(x, y));
}

void CGameMenu::Act(const CGameMenuScreen::Hit& hit) {
    CGameMenuScreen& screen = m_game.Screens().GameMenu();
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
        m_game.ChooseResolution(hit.index);
        screen.Options().SetResolutions(m_modes, hit.index);
        return;
    case Target::TextureQuality:
        m_game.ChooseTextureQuality(hit.index);
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
        m_game.Quit();
    } else if (m_panel == Panel::Restart) {
        Close();
        m_game.RestartGame();
    }
}

void CGameMenu::OpenSlots(Panel panel) {
    m_slots = m_game.Slots().List();
    std::vector<std::string> labels;
    for (const CSaveSlots::Slot& slot : m_slots) {
        labels.push_back(CSaveSlots::Label(slot));
    }
    CGameMenuScreen& screen = m_game.Screens().GameMenu();
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
            m_game.Load(slot);
        }
        return;
    }
    if (m_panel == Panel::Save) {
        const std::string description = m_game.ConstructSavegameDescription();
        m_game.Screens().GameMenu().SetSlotLabel(
            slot, CSaveSlots::Label({slot, CSaveSlots::SlotState::Saved, description, {}, {}}));
        m_game.Save(slot, description);
        // Listed again from the folder: a failed save shows what the slot really holds.
        OpenSlots(Panel::Save);
    }
}

void CGameMenu::CursorMoved(int x, int y, bool leftDown) {
    if (!Shown()) {
        return;
    }
    const CGameMenuScreen::Hit hit = m_game.Screens().GameMenu().HitAt(x, y);
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
            m_game.Screens().GameMenu().ShowSlotDetails(shown && shown->picture ? &*shown->picture : nullptr,
                                                        shown ? TimeText(shown->savedAt) : std::string());
        }
    }
}

void CGameMenu::Slide(Target slider, int x) {
    COptionsPanelScreen& options = m_game.Screens().GameMenu().Options();
    const int value = options.SliderValueAt(slider, x);
    const int volume = value * kVolumeMaximum / kSliderMaximum;
    if (slider == Target::EffectsSlider) {
        options.SetEffectsSlider(value);
        m_game.Sound().SetEffectVolume(volume);
    } else {
        options.SetMusicSlider(value);
        m_game.Sound().SetMusicVolume(volume);
    }
}

void CGameMenu::ToggleSwitch(const char* setting) {
    DRegistry& settings = m_game.Registry();
    settings.WriteInt(setting, settings.ReadInt(setting, 1, false) != 0 ? 0 : 1, true);
    const bool shadows = settings.ReadInt("shadows", 1, false) != 0;
    const bool lightFx = settings.ReadInt("lighdows", 1, false) != 0;
    const bool mirrors = settings.ReadInt("mirrors", 1, false) != 0;
    m_game.Renderer().SetEffects(shadows, mirrors, lightFx);
    m_game.Screens().GameMenu().Options().SetSwitches(shadows, lightFx, mirrors);
}

void CGameMenu::Escape() {
    if (!Shown()) {
        Open();
    } else if (m_panel != Panel::Options) {
        m_panel = Panel::Options;
        m_game.Screens().GameMenu().OpenPanel(m_panel);
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
