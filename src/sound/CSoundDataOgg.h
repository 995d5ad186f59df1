#pragma once

#include "sound/CSoundData.h"

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class COggConverter;

// Ogg Vorbis decoded on the fly from the whole file held in memory. A file
// in the mixer's format, 44 100 Hz stereo, is decoded as it is; any other is
// converted to it while it is decoded.
class CSoundDataOgg final : public CSoundData {
public:
    // Raises "Error opening file: '<name>'" when the file is missing, and a
    // text naming the file when it is not an Ogg Vorbis stream or its format
    // cannot be converted.
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

    // Decodes up to `bytes` bytes of whole frames in the mixer's format;
    // 0 at the end of the stream.
    std::size_t Decode(std::uint8_t* dst, std::size_t bytes);
    // The decoder's result, raising on its errors.
    long Checked(long result) const;
    // The converter's source: planar frames, all in the format of the
    // stream's first link.
    long DecodeFloat(float**& channels);

    std::string m_name;
    MemoryFile m_file;
    OggVorbis_File m_decoder{};
    std::unique_ptr<COggConverter> m_converter;
};
