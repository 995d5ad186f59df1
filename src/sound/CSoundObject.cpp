#include "sound/CSoundObject.h"

#include "sound/CSoundEngine.h"

#include <algorithm>

CSoundObject::CSoundObject(CSoundEngine& engine, std::span<const DispatchMember> members)
    : CDispatchBase(members), m_engine(engine) {}

void CSoundObject::PlayFromStart() {
    m_engine.Locked([this] {
        Rewind();
        Play();
    });
}

void CSoundObject::Fade(int target, std::uint32_t durationMs) {
    m_engine.Locked([&] {
        m_fadeFrom = m_volume;
        m_fadeTo = ClampVolume(target);
        m_fadeDuration = durationMs;
        m_fadeStartTick = m_engine.Clock().Now();
        m_fading = true;
    });
}

void CSoundObject::StepFade() {
    if (!m_fading) {
        return;
    }
    const std::uint32_t elapsed = m_engine.Clock().Now() - m_fadeStartTick;
    if (m_fadeDuration == 0 || elapsed > m_fadeDuration) {
        m_volume = m_fadeTo;
        m_fading = false;
        return;
    }
    m_volume =
        static_cast<int>(m_fadeFrom + static_cast<double>(m_fadeTo - m_fadeFrom) * elapsed / m_fadeDuration);
}

int CSoundObject::ClampVolume(int volume) {
    return std::clamp(volume, 0, MaxVolume);
}

int CSoundObject::ClampPan(int pan) {
    return std::clamp(pan, -MaxPan, MaxPan);
}

HRESULT CSoundObject::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                   Variant* result) {
    if (flags & DISPATCH_METHOD) {
        InvokeMethod(id, args);
    }
    if (flags & DISPATCH_PROPERTYGET) {
        if (id == VolumeId) {
            SetResult(result, Variant::I4(GetVolume()));
        } else if (id == PanId) {
            SetResult(result, Variant::I4(GetPan()));
        }
    }
    if (flags & DISPATCH_PROPERTYPUT) {
        if (id == VolumeId) {
            ExpectArgCount(args, 1);
            SetVolume(ClampVolume(IntArg(args, 0)));
        } else if (id == PanId) {
            ExpectArgCount(args, 1);
            SetPan(ClampPan(IntArg(args, 0)));
        }
    }
    return S_OK;
}

std::uint32_t CSoundObject::DurationArg(std::span<const Variant> args, std::size_t index) {
    return static_cast<std::uint32_t>(std::max(IntArg(args, index), 0));
}
