#include "platform/DAudioOutputSDL.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<DAudioOutputSDL> DAudioOutputSDL::Open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<DAudioOutputSDL> output(new DAudioOutputSDL);
    SDL_AudioSpec want{};
    want.freq = SampleRate;
    want.format = AUDIO_S16LSB;
    want.channels = Channels;
    want.samples = 1024;
    want.callback = &DAudioOutputSDL::Callback;
    want.userdata = output.get();
    // No allowed changes: SDL converts to whatever the device really takes.
    output->m_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (output->m_device == 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return output;
}

DAudioOutputSDL::~DAudioOutputSDL() {
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void DAudioOutputSDL::Create(std::size_t bytes) {
    std::lock_guard lock(m_mutex);
    m_buffer.assign(bytes / sizeof(std::int16_t), 0);
    m_readPos = 0;
}

bool DAudioOutputSDL::WaitFor(Point point, std::uint32_t timeoutMs) {
    return (point == Point::Start ? m_start : m_middle).Wait(timeoutMs);
}

std::span<std::int16_t> DAudioOutputSDL::Lock(std::size_t offset, std::size_t bytes) {
    m_mutex.lock();
    return std::span<std::int16_t>(m_buffer).subspan(offset / sizeof(std::int16_t),
                                                     bytes / sizeof(std::int16_t));
}

void DAudioOutputSDL::Unlock() {
    m_mutex.unlock();
}

void DAudioOutputSDL::Play() {
    {
        std::lock_guard lock(m_mutex);
        m_readPos = 0;
        m_playing = true;
    }
    m_start.Set();
    SDL_PauseAudioDevice(m_device, 0);
}

void DAudioOutputSDL::Callback(void* self, Uint8* stream, int len) {
    static_cast<DAudioOutputSDL*>(self)->Pull(stream, static_cast<std::size_t>(len));
}

void DAudioOutputSDL::Pull(Uint8* stream, std::size_t len) {
    std::lock_guard lock(m_mutex);
    const std::size_t total = m_buffer.size() * sizeof(std::int16_t);
    if (!m_playing || total == 0) {
        std::memset(stream, 0, len);
        return;
    }
    const auto* source = reinterpret_cast<const Uint8*>(m_buffer.data());
    const std::size_t middle = total / 2;
    while (len > 0) {
        // Copy up to the next notification point, so each crossing is seen.
        const std::size_t boundary = m_readPos < middle ? middle : total;
        const std::size_t chunk = std::min(len, boundary - m_readPos);
        std::memcpy(stream, source + m_readPos, chunk);
        stream += chunk;
        len -= chunk;
        m_readPos += chunk;
        if (m_readPos == middle) {
            m_middle.Set();
        } else if (m_readPos == total) {
            m_readPos = 0;
            m_start.Set();
        }
    }
}
