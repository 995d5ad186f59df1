#include "sound/CSoundMixer.h"

#include "sound/CSoundObject.h"

#include <algorithm>

namespace {

constexpr std::int64_t UnityGain = 2048;
constexpr std::int64_t PanCentre = 32;

} // namespace

CSoundMixer::CSoundMixer(std::size_t samples) : m_accumulators(samples), m_samples(samples) {}

void CSoundMixer::Mix(std::span<CSoundObject* const> objects, int effectVolume, int musicVolume) {
    bool first = true;
    for (CSoundObject* object : objects) {
        if (object->GetVolume() == 0 && !object->IsFading()) {
            continue;
        }
        object->GetData(reinterpret_cast<std::uint8_t*>(m_samples.data()),
                        m_samples.size() * sizeof(std::int16_t), false);
        const std::int64_t pan = object->GetPan();
        const std::int64_t weight =
            std::int64_t{object->IsEffect() ? effectVolume : musicVolume} * object->GetVolume();
        const std::int64_t gains[2] = {weight * std::max(PanCentre - pan, PanCentre) / 64,
                                       weight * std::max(PanCentre + pan, PanCentre) / 64};
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            const std::int64_t value = m_samples[i] * gains[i & 1];
            m_accumulators[i] = first ? value : m_accumulators[i] + value;
        }
        first = false;
    }
    if (first) {
        Silence();
    }
}

void CSoundMixer::Silence() {
    std::fill(m_accumulators.begin(), m_accumulators.end(), 0);
}

void CSoundMixer::Write(std::span<std::int16_t> out, int masterVolume) const {
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::int64_t value = m_accumulators[i] / UnityGain * masterVolume / MaxGroupVolume;
        out[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32767, 32767));
    }
}
