#include "app/settings/CSettings.h"

#include "platform/DRegistry.h"
#include "resources/CADVException.h"
#include "sound/CSoundEngine.h"

#include <algorithm>
#include <climits>

namespace {

using Kind = CSettingDefinition::Kind;

constexpr int kTextureQualities[] = {1, 2, 4};
constexpr int kMaxVolume = CSoundEngine::MaxGroupVolume;

// Screen, graphics, input, sound, start. The README's settings table lists
// the same keys with the same defaults, ranges and texts (a test compares them).
constexpr CSettingDefinition kSchema[] = {
    {"resx", Kind::Integer, 1024, "", INT_MIN, INT_MAX, {}, true, "full-screen width"},
    {"resy", Kind::Integer, 768, "", INT_MIN, INT_MAX, {}, true, "full-screen height"},
    {"fullscreen", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "1: full screen, 0: a window of 1024 x 768"},
    {"vsync", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "1: frames in step with the display"},
    {"texturequality", Kind::Integer, 2, "", INT_MIN, INT_MAX, kTextureQualities, true,
     "textures at full, half or quarter size"},
    {"shadows", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "1: shadows"},
    {"lighdows", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "1: light effects"},
    {"mirrors", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "1: mirrors"},
    {"preload", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, false, "0: models are read when first drawn"},
    {"clear", Kind::Integer, 0, "", INT_MIN, INT_MAX, {}, false, "1: the back buffer is cleared every frame"},
    {"showframerate", Kind::Integer, 0, "", INT_MIN, INT_MAX, {}, false, "1: the frame rate at the top right"},
    {"pickwindowhold", Kind::Integer, 0, "", INT_MIN, INT_MAX, {}, true,
     "0: a verb is chosen by pressing on it, 1: by releasing the right button over it"},
    {"gamepad", Kind::Integer, 1, "", INT_MIN, INT_MAX, {}, true, "0: game controllers are left alone"},
    {"gamepadspeed", Kind::Integer, 1000, "", 50, 10000, {}, true,
     "the cursor's speed at full tilt, in pixels per second"},
    {"gamepaddeadzone", Kind::Integer, 20, "", 0, 90, {}, true,
     "the tilt that still counts as rest, in percent of full tilt"},
    {"effectvolume", Kind::Integer, 64, "", 0, kMaxVolume, {}, true, "sound effects"},
    {"musicvolume", Kind::Integer, 48, "", 0, kMaxVolume, {}, true, "music"},
    {"mastervolume", Kind::Integer, 64, "", 0, kMaxVolume, {}, true, "everything"},
    {"latencybuffer", Kind::Integer, 256, "", CSoundEngine::MinLatency, CSoundEngine::MaxLatency, {}, true,
     "the sound buffer, in units of 256 bytes"},
    {"startscene", Kind::Text, 0, "", 0, 0, {}, false,
     "start in that scene instead of the one the game script chooses"},
};

} // namespace

CSettings::CSettings(DRegistry& store) : m_store(store) {}

std::span<const CSettingDefinition> CSettings::Schema() {
    return kSchema;
}

const CSettingDefinition& CSettings::Definition(std::string_view key) {
    const auto found = std::find_if(std::begin(kSchema), std::end(kSchema),
                                    [key](const CSettingDefinition& setting) { return key == setting.key; });
    if (found == std::end(kSchema)) {
        throw CADVException("CSettings::Definition - There is no setting '%.*s'.", static_cast<int>(key.size()),
                            key.data());
    }
    return *found;
}

void CSettings::WriteMissingDefaults() {
    bool added = false;
    for (const CSettingDefinition& setting : kSchema) {
        if (!setting.writtenWhenMissing) {
            continue;
        }
        if (setting.kind == Kind::Integer && !m_store.FindInt(setting.key)) {
            m_store.WriteInt(setting.key, setting.defaultValue, false);
            added = true;
        }
    }
    if (added) {
        m_store.Save();
    }
}

int CSettings::Int(std::string_view key) const {
    const CSettingDefinition& setting = Definition(key);
    const int value = m_store.FindInt(setting.key).value_or(setting.defaultValue);
    if (!setting.choices.empty() &&
        std::find(setting.choices.begin(), setting.choices.end(), value) == setting.choices.end()) {
        return setting.defaultValue;
    }
    return std::clamp(value, setting.minimum, setting.maximum);
}

std::string CSettings::Text(std::string_view key) const {
    const CSettingDefinition& setting = Definition(key);
    return m_store.FindString(setting.key).value_or(setting.defaultText);
}

void CSettings::SetInt(std::string_view key, int value) {
    m_store.WriteInt(Definition(key).key, value, true);
}
