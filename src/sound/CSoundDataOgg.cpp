#include "sound/CSoundDataOgg.h"

#include "resources/CADVException.h"
#include "sound/CSoundEngine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

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
}

std::size_t CSoundDataOgg::GetData(std::uint8_t* dst, std::size_t bytes, bool force) {
    if (!m_playing && !force) {
        std::memset(dst, 0, bytes);
        return bytes;
    }
    std::size_t got = 0;
    int emptyRewinds = 0;
    while (got < bytes) {
        int section = 0;
        const int want = static_cast<int>(std::min<std::size_t>(bytes - got, INT_MAX));
        const long r = ov_read(&m_decoder, reinterpret_cast<char*>(dst + got), want, 0, 2, 1, &section);
        if (r == OV_HOLE) {
            throw CADVException("Interruption in the data");
        }
        if (r == OV_EBADLINK) {
            throw CADVException("Invalid stream section or requested link is corrupt");
        }
        if (r < 0) {
            throw CADVException("CSoundDataOgg::GetData - Could not decode '%s' (error %ld)", m_name.c_str(),
                                r);
        }
        if (r > 0) {
            got += static_cast<std::size_t>(r);
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
