#include "sound/COggEncoder.h"

#include "resources/CADVException.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

constexpr std::size_t Chunk = 1024;

// The libvorbis and libogg states of one encoding, released in reverse order
// of creation whatever happens in between.
class EncoderState {
public:
    EncoderState(int channels, long rate, float quality) : m_channels(channels) {
        vorbis_info_init(&m_info);
        if (vorbis_encode_init_vbr(&m_info, channels, rate, quality) != 0) {
            vorbis_info_clear(&m_info);
            throw CADVException(
                "COggEncoder::Encode - the Vorbis encoder refused %d channels at %ld Hz, quality %g",
                channels, rate, static_cast<double>(quality));
        }
        vorbis_comment_init(&m_comment);
        vorbis_analysis_init(&m_dsp, &m_info);
        vorbis_block_init(&m_dsp, &m_block);
        ogg_stream_init(&m_stream, 1);
    }
    ~EncoderState() {
        ogg_stream_clear(&m_stream);
        vorbis_block_clear(&m_block);
        vorbis_dsp_clear(&m_dsp);
        vorbis_comment_clear(&m_comment);
        vorbis_info_clear(&m_info);
    }
    EncoderState(const EncoderState&) = delete;
    EncoderState& operator=(const EncoderState&) = delete;

    void WriteHeaders() {
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&m_dsp, &m_comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&m_stream, &header);
        ogg_stream_packetin(&m_stream, &headerComment);
        ogg_stream_packetin(&m_stream, &headerCode);
        // The headers get pages of their own, as decoders expect.
        Flush();
    }

    // Hands `frames` frames (none marks the end of the stream) to the encoder
    // and collects the pages that became complete.
    void Write(const std::int16_t* samples, std::size_t frames) {
        if (frames > 0) {
            float** buffer = vorbis_analysis_buffer(&m_dsp, static_cast<int>(frames));
            for (std::size_t i = 0; i < frames; ++i) {
                for (int c = 0; c < m_channels; ++c) {
                    buffer[c][i] = samples[m_channels * i + c] / 32768.0f;
                }
            }
        }
        vorbis_analysis_wrote(&m_dsp, static_cast<int>(frames));
        ogg_packet packet;
        while (vorbis_analysis_blockout(&m_dsp, &m_block) == 1) {
            vorbis_analysis(&m_block, nullptr);
            vorbis_bitrate_addblock(&m_block);
            while (vorbis_bitrate_flushpacket(&m_dsp, &packet) != 0) {
                ogg_stream_packetin(&m_stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&m_stream, &page) != 0) {
                    Append(page);
                }
            }
        }
    }

    void Flush() {
        ogg_page page;
        while (ogg_stream_flush(&m_stream, &page) != 0) {
            Append(page);
        }
    }

    std::vector<std::uint8_t> TakeBytes() { return std::move(m_out); }

private:
    void Append(const ogg_page& page) {
        m_out.insert(m_out.end(), page.header, page.header + page.header_len);
        m_out.insert(m_out.end(), page.body, page.body + page.body_len);
    }

    int m_channels;
    vorbis_info m_info{};
    vorbis_comment m_comment{};
    vorbis_dsp_state m_dsp{};
    vorbis_block m_block{};
    ogg_stream_state m_stream{};
    std::vector<std::uint8_t> m_out;
};

} // namespace

std::vector<std::uint8_t> COggEncoder::Encode(std::span<const std::int16_t> samples, float quality) {
    return Encode(samples, 2, 44100, quality);
}

std::vector<std::uint8_t> COggEncoder::Encode(std::span<const std::int16_t> samples, int channels, long rate,
                                              float quality) {
    EncoderState state(channels, rate, quality);
    state.WriteHeaders();
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at < frames; at += Chunk) {
        state.Write(samples.data() + channels * at, std::min(Chunk, frames - at));
    }
    state.Write(nullptr, 0);
    state.Flush();
    return state.TakeBytes();
}
