#pragma once

#include "platform/DAudioOutput.h"
#include "platform/DThreadEvent.h"

#include <SDL.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The stream on the default SDL2 audio device. SDL pulls from the looping
// buffer on its own thread; the notifications fire as its read position
// crosses the start and the middle.
class DAudioOutputSDL final : public DAudioOutput {
public:
    // Null, with the reason in `error`, when no device can be opened.
    static std::unique_ptr<DAudioOutputSDL> Open(std::string& error);
    ~DAudioOutputSDL() override;

    void Create(std::size_t bytes) override;
    bool WaitFor(Point point, std::uint32_t timeoutMs) override;
    std::span<std::int16_t> Lock(std::size_t offset, std::size_t bytes) override;
    void Unlock() override;
    void Play() override;

private:
    DAudioOutputSDL() = default;
    static void Callback(void* self, Uint8* stream, int len);
    void Pull(Uint8* stream, std::size_t len);

    SDL_AudioDeviceID m_device = 0;
    std::mutex m_mutex;
    std::vector<std::int16_t> m_buffer;
    std::size_t m_readPos = 0;
    bool m_playing = false;
    DThreadEvent m_start;
    DThreadEvent m_middle;
};
