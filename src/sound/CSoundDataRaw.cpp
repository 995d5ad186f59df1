#include "sound/CSoundDataRaw.h"

#include "sound/CSoundEngine.h"

#include <algorithm>
#include <cstring>

CSoundDataRaw::CSoundDataRaw(CSoundEngine& engine, const std::string& name)
    : CSoundData(engine), m_data(engine.LoadFile(SoundPath(name))) {}

std::size_t CSoundDataRaw::GetData(std::uint8_t* dst, std::size_t bytes, bool force) {
    if (!m_playing && !force) {
        std::memset(dst, 0, bytes);
        return bytes;
    }
    const std::size_t size = m_data.size();
    if (size == 0) {
        // An empty file is silence; looping it would never fill the request.
        std::memset(dst, 0, bytes);
        m_playing = false;
        return 0;
    }
    const std::size_t first = std::min(bytes, size - m_position);
    std::memcpy(dst, m_data.data() + m_position, first);
    m_position = (m_position + first) % size;
    if (first == bytes) {
        return bytes;
    }
    if (!m_loop) {
        std::memset(dst + first, 0, bytes - first);
        m_playing = false;
        return first;
    }
    std::size_t done = first;
    while (bytes - done > size) {
        std::memcpy(dst + done, m_data.data(), size);
        done += size;
    }
    const std::size_t rest = bytes - done;
    std::memcpy(dst + done, m_data.data(), rest);
    m_position = rest % size;
    return bytes;
}
