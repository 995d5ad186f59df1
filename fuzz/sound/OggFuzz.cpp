// Ogg Vorbis sound files from the archives: opening and decoding arbitrary
// bytes must end in a CADVException or sound, never a crash or a hang.
// Seeds (made with libvorbisenc): fuzz/corpus/sound_ogg_fuzz, e.g.
//   sound_ogg_fuzz -max_len=20000 CORPUS_DIR fuzz/corpus/sound_ogg_fuzz
#include "platform/DAudioOutputCapture.h"
#include "platform/DClock.h"
#include "resources/CADVException.h"
#include "sound/CSoundDataOgg.h"
#include "sound/CSoundEngine.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

std::vector<std::uint8_t> g_input;

CSoundEngine& Engine() {
    static DClock clock(DClock::Mode::Manual);
    static std::unique_ptr<CSoundEngine> engine = [] {
        const CSoundEngine::Settings settings{CSoundEngine::MinLatency, CSoundEngine::MaxGroupVolume,
                                              CSoundEngine::MaxGroupVolume, CSoundEngine::MaxGroupVolume};
        return std::make_unique<CSoundEngine>(
            settings, clock, std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Discard),
            [](const std::string&) { return g_input; });
    }();
    return *engine;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CSoundEngine& engine = Engine();
    g_input.assign(data, data + size);
    try {
        CSoundDataOgg sound(engine, "fuzz.ogg");
        sound.PlayFromStart();
        std::vector<std::uint8_t> out(16384);
        // Once through to the end, then looping, which must rewind or fail.
        for (int pass = 0; pass < 8; ++pass) {
            if (sound.GetData(out.data(), out.size(), false) < out.size()) {
                break;
            }
        }
        sound.SetLoop(true);
        for (int pass = 0; pass < 4; ++pass) {
            sound.GetData(out.data(), out.size(), false);
        }
    } catch (const CADVException&) {
    }
    return 0;
}
