#include "SoundTestSupport.h"

#include "resources/CADVException.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<std::uint8_t> ToBytes(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes;
    for (const std::int16_t s : samples) {
        bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
    return bytes;
}

std::vector<std::int16_t> ToSamples(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return samples;
}

std::vector<std::int16_t> Constant(std::size_t frames, std::int16_t left, std::int16_t right) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < frames; ++i) {
        samples.push_back(left);
        samples.push_back(right);
    }
    return samples;
}

std::vector<std::int16_t> Ramp(std::size_t frames) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < frames; ++i) {
        samples.push_back(static_cast<std::int16_t>(i));
        samples.push_back(static_cast<std::int16_t>(-static_cast<int>(i)));
    }
    return samples;
}

std::vector<std::int16_t> Sine(std::size_t frames, double hz, double amplitude) {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * M_PI * hz * static_cast<double>(i) / 44100.0;
        samples.push_back(static_cast<std::int16_t>(amplitude * std::sin(phase)));
        samples.push_back(static_cast<std::int16_t>(amplitude * std::cos(phase)));
    }
    return samples;
}

void SoundFiles::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    WriteFile(m_dir / "sound" / name, std::string(bytes.begin(), bytes.end()));
}

CSoundEngine::FileLoader SoundFiles::Loader() const {
    return [root = m_dir.Path()](const std::string& path) {
        // The engine asks for "data\sound\<name>".
        const std::string prefix = "data\\sound\\";
        std::ifstream in(root / "sound" / path.substr(prefix.size()), std::ios::binary);
        if (path.rfind(prefix, 0) != 0 || !in) {
            throw CADVException("LoadFile: Resource '%s' not found.", path.c_str());
        }
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>());
    };
}

CSoundEngine::Settings EngineSettings(const std::map<std::string, int>& values) {
    const auto value = [&values](const char* name, int otherwise) {
        const auto found = values.find(name);
        return found != values.end() ? found->second : otherwise;
    };
    // The game's defaults for what is not given.
    return {value("latencybuffer", 256), value("effectvolume", 64), value("musicvolume", 48),
            value("mastervolume", 64)};
}

EngineRig::EngineRig(const std::map<std::string, int>& settings) {
    auto output = std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Memory);
    capture = output.get();
    engine = std::make_unique<CSoundEngine>(EngineSettings(settings), clock, std::move(output), files.Loader());
    if (!capture->WaitForHalves(2, 10000)) {
        throw std::runtime_error("the engine did not mix its first two halves");
    }
}

EngineRig::~EngineRig() = default;

std::vector<std::int16_t> EngineRig::NextHalf() {
    const std::uint64_t halfFrames = engine->HalfBufferBytes() / 4;
    ++m_crossings;
    // The first millisecond at which playback has passed the crossing.
    const std::uint64_t ms = (m_crossings * halfFrames * 1000 + 44099) / 44100;
    const std::size_t halves = capture->HalvesWritten();
    clock.Set(static_cast<std::uint32_t>(ms));
    if (!capture->WaitForHalves(halves + 1, 10000)) {
        throw std::runtime_error("the engine did not mix the next half");
    }
    const std::vector<std::int16_t> all = capture->Samples();
    const std::size_t half = engine->HalfBufferBytes() / 2;
    return std::vector<std::int16_t>(all.end() - static_cast<std::ptrdiff_t>(half), all.end());
}
