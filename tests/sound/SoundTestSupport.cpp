#include "SoundTestSupport.h"

#include "resources/CADVException.h"

#include <vorbis/vorbisenc.h>

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

std::vector<std::uint8_t> EncodeOgg(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> out;
    auto append = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, 44100, 0.5f) != 0) {
        throw std::runtime_error("vorbis_encode_init_vbr failed");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }
    const std::size_t frames = samples.size() / 2;
    constexpr std::size_t Chunk = 1024;
    for (std::size_t at = 0;; at += Chunk) {
        const std::size_t n = at < frames ? std::min(Chunk, frames - at) : 0;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i) {
                buffer[0][i] = samples[2 * (at + i)] / 32768.0f;
                buffer[1][i] = samples[2 * (at + i) + 1] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                }
            }
        }
        if (n == 0) {
            break;
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
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

EngineRig::EngineRig(const std::map<std::string, int>& settings)
    : registry(std::make_unique<DRegistry>(settingsDir / "settings.toml")) {
    for (const auto& [name, value] : settings) {
        registry->WriteInt(name, value, false);
    }
    auto output = std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Memory);
    capture = output.get();
    engine = std::make_unique<CSoundEngine>(*registry, clock, std::move(output), files.Loader());
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
