#include "platform/DAudioOutputCapture.h"

#include <array>
#include <bit>
#include <chrono>
#include <thread>

static_assert(std::endian::native == std::endian::little,
              "samples are written to the WAV file as they lie in memory");

namespace {

void PutLE(std::array<unsigned char, 44>& header, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        header[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

void PutTag(std::array<unsigned char, 44>& header, std::size_t at, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        header[at + i] = static_cast<unsigned char>(tag[i]);
    }
}

} // namespace

DAudioOutputCapture::DAudioOutputCapture(DClock& clock, Sink sink) : m_clock(clock), m_sink(sink) {}

std::unique_ptr<DAudioOutputCapture> DAudioOutputCapture::ToWav(DClock& clock,
                                                                const std::filesystem::path& file) {
    std::FILE* wav = std::fopen(file.c_str(), "wb");
    if (!wav) {
        return nullptr;
    }
    auto output = std::make_unique<DAudioOutputCapture>(clock, Sink::Discard);
    output->m_wav = wav;
    output->WriteWavHeader();
    return output;
}

DAudioOutputCapture::~DAudioOutputCapture() {
    if (m_wav) {
        std::fclose(m_wav);
    }
}

// Rewritten after every half, so the file is a complete WAV at any moment,
// even when the program does not end cleanly.
void DAudioOutputCapture::WriteWavHeader() {
    std::array<unsigned char, 44> header{};
    PutTag(header, 0, "RIFF");
    PutLE(header, 4, 36 + m_wavDataBytes, 4);
    PutTag(header, 8, "WAVE");
    PutTag(header, 12, "fmt ");
    PutLE(header, 16, 16, 4);
    PutLE(header, 20, 1, 2); // PCM
    PutLE(header, 22, Channels, 2);
    PutLE(header, 24, SampleRate, 4);
    PutLE(header, 28, SampleRate * BytesPerFrame, 4);
    PutLE(header, 32, BytesPerFrame, 2);
    PutLE(header, 34, 16, 2);
    PutTag(header, 36, "data");
    PutLE(header, 40, m_wavDataBytes, 4);
    std::fseek(m_wav, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), m_wav);
    std::fseek(m_wav, 0, SEEK_END);
}

void DAudioOutputCapture::Create(std::size_t bytes) {
    m_buffer.assign(bytes / sizeof(std::int16_t), 0);
}

void DAudioOutputCapture::Play() {
    std::lock_guard lock(m_mutex);
    m_playing = true;
    m_playStart = m_clock.Now();
    m_crossings = 0;
    m_consumed = 0;
    m_halvesAtPlay = m_halves;
    m_pending[static_cast<int>(Point::Start)] = true;
}

// Crossings of the middle (odd) and the start (even) of the buffer that the
// clock has reached since playback began.
std::uint64_t DAudioOutputCapture::CrossingsDue() const {
    if (!m_playing || m_buffer.empty()) {
        return 0;
    }
    const std::uint64_t elapsedMs = static_cast<std::uint32_t>(m_clock.Now() - m_playStart);
    const std::uint64_t frames = elapsedMs * SampleRate / 1000;
    const std::uint64_t halfFrames = m_buffer.size() / Channels / 2;
    return frames / halfFrames;
}

void DAudioOutputCapture::Poll() {
    if (m_crossings < CrossingsDue() && !m_pending[0] && !m_pending[1]) {
        ++m_crossings;
        const bool middle = m_crossings % 2 == 1;
        m_pending[static_cast<int>(middle ? Point::Middle : Point::Start)] = true;
    }
}

bool DAudioOutputCapture::WaitFor(Point point, std::uint32_t timeoutMs) {
    // The clock may be manual and has no way to wake us: look at it every
    // millisecond. Any crossing ends the wait, so the caller can take it at
    // once even while it waits for the other point.
    std::unique_lock lock(m_mutex);
    Poll();
    for (std::uint32_t waited = 0; !m_pending[0] && !m_pending[1] && waited < timeoutMs; ++waited) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
        Poll();
    }
    bool& pending = m_pending[static_cast<int>(point)];
    const bool crossed = pending;
    pending = false;
    m_consumed += crossed ? 1 : 0;
    return crossed;
}

bool DAudioOutputCapture::WaitUntilCurrent(std::uint32_t timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_written.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_crossings >= CrossingsDue() && !m_pending[0] && !m_pending[1] &&
               m_halves >= m_halvesAtPlay + m_consumed;
    });
}

std::span<std::int16_t> DAudioOutputCapture::Lock(std::size_t offset, std::size_t bytes) {
    m_locked = std::span<std::int16_t>(m_buffer).subspan(offset / sizeof(std::int16_t),
                                                         bytes / sizeof(std::int16_t));
    return m_locked;
}

void DAudioOutputCapture::Unlock() {
    if (m_wav) {
        std::fwrite(m_locked.data(), sizeof(std::int16_t), m_locked.size(), m_wav);
        m_wavDataBytes += static_cast<std::uint32_t>(m_locked.size_bytes());
        WriteWavHeader();
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_sink == Sink::Memory) {
            m_recorded.insert(m_recorded.end(), m_locked.begin(), m_locked.end());
        }
        ++m_halves;
    }
    m_written.notify_all();
}

std::vector<std::int16_t> DAudioOutputCapture::Samples() const {
    std::lock_guard lock(m_mutex);
    return m_recorded;
}

std::size_t DAudioOutputCapture::HalvesWritten() const {
    std::lock_guard lock(m_mutex);
    return m_halves;
}

bool DAudioOutputCapture::WaitForHalves(std::size_t count, std::uint32_t timeoutMs) const {
    std::unique_lock lock(m_mutex);
    return m_written.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_halves >= count; });
}
