#pragma once

#include "sound/CSoundData.h"

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <string>
#include <vector>

// Ogg Vorbis decoded on the fly from the whole file held in memory.
class CSoundDataOgg final : public CSoundData {
public:
    // Raises "Error opening file: '<name>'" when the file is missing, and a
    // text naming the file when it is not an Ogg Vorbis stream.
    CSoundDataOgg(CSoundEngine& engine, const std::string& name);
    ~CSoundDataOgg() override;

    void Rewind() override;
    // A stream that ends while not looping keeps playing silence.
    std::size_t GetData(std::uint8_t* dst, std::size_t bytes, bool force) override;

private:
    // The decoder's view of the file: reads past the end give nothing.
    struct MemoryFile {
        std::vector<std::uint8_t> data;
        std::int64_t position = 0;
    };
    static std::size_t Read(void* dst, std::size_t size, std::size_t count, void* file);
    static int Seek(void* file, ogg_int64_t offset, int origin);
    static long Tell(void* file);

    std::string m_name;
    MemoryFile m_file;
    OggVorbis_File m_decoder{};
};
