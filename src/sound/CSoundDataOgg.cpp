#include "sound/CSoundDataOgg.h"

#include "resources/CADVException.h"
#include "sound/COggConverter.h"
#include "sound/CSoundEngine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t FrameBytes = 4;
// The most frames the converter takes from one decoder call.
constexpr int FloatFrames = 4096;

} // namespace

CSoundDataOgg::CSoundDataOgg(CSoundEngine& engine, const std::string& name)
    : CSoundData(engine), m_name(name) {
    try {
        m_file.data = engine.LoadFile(SoundPath(name));
    } catch (const CADVException&) {
        throw CADVException("Error opening file: '%s'", name.c_str());
    }
    const ov_callbacks callbacks{&CSoundDataOgg::Read, &CSoundDataOgg::Seek, nullptr, &CSoundDataOgg::Tell};
    if (ov_open_callbacks(&m_file, &m_decoder, nullptr, 0, callbacks) != 0) {
        throw CADVException("CSoundDataOgg::CSoundDataOgg - '%s' is not an Ogg Vorbis file", name.c_str());
    }
    const vorbis_info& info = *ov_info(&m_decoder, 0);
    if (info.channels == 2 && info.rate == 44100) {
        return;
    }
    try {
        if (!COggConverter::Supports(info.channels, info.rate)) {
            throw CADVException("CSoundDataOgg::CSoundDataOgg - '%s' has %d channels at %ld Hz, which cannot "
                                "be converted to the mixer's format",
                                name.c_str(), info.channels, info.rate);
        }
        m_converter = std::make_unique<COggConverter>(
            info.channels, info.rate, [this](float**& channels) { return DecodeFloat(channels); });
    } catch (...) {
        ov_clear(&m_decoder);
        throw;
    }
}

CSoundDataOgg::~CSoundDataOgg() {
    ov_clear(&m_decoder);
}

std::size_t CSoundDataOgg::Read(void* dst, std::size_t size, std::size_t count, void* source) {
    auto& file = *static_cast<MemoryFile*>(source);
    const auto length = static_cast<std::int64_t>(file.data.size());
    if (file.position >= length) {
        return 0;
    }
    const std::size_t n = std::min(size * count, static_cast<std::size_t>(length - file.position));
    std::memcpy(dst, file.data.data() + file.position, n);
    file.position += static_cast<std::int64_t>(n);
    return n;
}

int CSoundDataOgg::Seek(void* source, ogg_int64_t offset, int origin) {
    auto& file = *static_cast<MemoryFile*>(source);
    std::int64_t base = 0;
    if (origin == SEEK_CUR) {
        base = file.position;
    } else if (origin == SEEK_END) {
        base = static_cast<std::int64_t>(file.data.size());
    }
    if (base + offset < 0) {
        return -1;
    }
    file.position = base + offset;
    return 0;
}

long CSoundDataOgg::Tell(void* source) {
    return static_cast<long>(static_cast<MemoryFile*>(source)->position);
}

void CSoundDataOgg::Rewind() {
    ov_pcm_seek(&m_decoder, 0);
    if (m_converter) {
        m_converter->Reset();
    }
}

long CSoundDataOgg::Checked(long result) const {
    if (result == OV_HOLE) {
        throw CADVException("Interruption in the data");
    }
    if (result == OV_EBADLINK) {
        throw CADVException("Invalid stream section or requested link is corrupt");
    }
    if (result < 0) {
        throw CADVException("CSoundDataOgg::GetData - Could not decode '%s' (error %ld)", m_name.c_str(),
                            result);
    }
    return result;
}

long CSoundDataOgg::DecodeFloat(float**& channels) {
    int link = 0;
    const long frames = Checked(ov_read_float(&m_decoder, &channels, FloatFrames, &link));
    const vorbis_info& first = *ov_info(&m_decoder, 0);
    const vorbis_info& current = *ov_info(&m_decoder, link);
    if (frames > 0 && (current.channels != first.channels || current.rate != first.rate)) {
        throw CADVException("CSoundDataOgg::GetData - the chained streams of '%s' differ in format",
                            m_name.c_str());
    }
    return frames;
}

std::size_t CSoundDataOgg::Decode(std::uint8_t* dst, std::size_t bytes) {
    if (m_converter) {
        const std::size_t frames =
            m_converter->Read(reinterpret_cast<std::int16_t*>(dst), bytes / FrameBytes, !m_loop);
        return frames * FrameBytes;
    }
    int link = 0;
    const int want = static_cast<int>(std::min<std::size_t>(bytes, INT_MAX));
    return static_cast<std::size_t>(
        Checked(ov_read(&m_decoder, reinterpret_cast<char*>(dst), want, 0, 2, 1, &link)));
}

std::size_t CSoundDataOgg::GetData(std::uint8_t* dst, std::size_t bytes, bool force) {
    if (!m_playing && !force) {
        std::memset(dst, 0, bytes);
        return bytes;
    }
    std::size_t got = 0;
    int emptyRewinds = 0;
    while (got < bytes) {
        const std::size_t r = Decode(dst + got, bytes - got);
        if (r > 0) {
            got += r;
            emptyRewinds = 0;
            continue;
        }
        if (!m_loop) {
            std::memset(dst + got, 0, bytes - got);
            return got;
        }
        ov_pcm_seek(&m_decoder, 0);
        if (++emptyRewinds > 3) {
            throw CADVException("File is empty");
        }
    }
    return got;
}
