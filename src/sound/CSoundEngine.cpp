#include "sound/CSoundEngine.h"

#include "platform/DAudioOutputCapture.h"
#include "platform/DAudioOutputSDL.h"
#include "platform/DReport.h"
#include "resources/CADVException.h"
#include "resources/CParameterParser.h"
#include "sound/CSoundData.h"
#include "sound/CSoundMultiSequencer.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace {

constexpr std::size_t LatencyUnit = 256;

int GroupVolume(int volume) {
    return std::clamp(volume, 0, CSoundEngine::MaxGroupVolume);
}

} // namespace

CSoundEngine::CSoundEngine(const Settings& settings, DClock& clock, std::unique_ptr<DAudioOutput> output,
                           FileLoader loader)
    : CDispatchBase(ScriptMembers()), m_clock(clock), m_loadFile(std::move(loader)),
      m_output(std::move(output)) {
    const int latency = std::clamp(settings.latencyBuffer, MinLatency, MaxLatency);
    m_bufferBytes = static_cast<std::size_t>(latency) * LatencyUnit;
    m_output->Create(m_bufferBytes);
    m_effectVolume = GroupVolume(settings.effectVolume);
    m_musicVolume = GroupVolume(settings.musicVolume);
    m_masterVolume = GroupVolume(settings.masterVolume);
    m_mixer = std::make_unique<CSoundMixer>(m_bufferBytes / 4);
    try {
        Start();
    } catch (const std::system_error&) {
        throw CADVException("Could not create thread");
    }
}

CSoundEngine::~CSoundEngine() {
    Stop(1000);
    ClearEffects();
    std::lock_guard lock(m_mutex);
    m_fadingMusic.Reset();
    m_currentMusic.Reset();
}

CSoundEngine::Registration::Registration(CSoundEngine& engine, CSoundObject& object)
    : m_engine(&engine), m_object(&object) {
    engine.AddSoundObject(&object);
}

CSoundEngine::Registration::Registration(Registration&& other) noexcept
    : m_engine(std::exchange(other.m_engine, nullptr)), m_object(std::exchange(other.m_object, nullptr)) {}

CSoundEngine::Registration& CSoundEngine::Registration::operator=(Registration&& other) noexcept {
    if (this != &other) {
        Release();
        m_engine = std::exchange(other.m_engine, nullptr);
        m_object = std::exchange(other.m_object, nullptr);
    }
    return *this;
}

CSoundEngine::Registration::~Registration() {
    Release();
}

void CSoundEngine::Registration::Release() noexcept {
    if (m_engine != nullptr) {
        m_engine->RemoveSoundObject(std::exchange(m_object, nullptr));
        m_engine = nullptr;
    }
}

CSoundEngine::Music& CSoundEngine::Music::operator=(Music&& other) noexcept {
    registration = std::move(other.registration);
    object = std::move(other.object);
    return *this;
}

CSoundEngine::Music::Music() = default;
CSoundEngine::Music::Music(Music&& other) noexcept = default;
CSoundEngine::Music::~Music() = default;

void CSoundEngine::Music::Reset() {
    registration = Registration();
    object.reset();
}

std::unique_ptr<DAudioOutput> CSoundEngine::OpenOutput(DClock& clock, bool headless,
                                                       const std::string& captureFile) {
    if (headless) {
        if (captureFile.empty()) {
            return std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Discard);
        }
        auto wav = DAudioOutputCapture::ToWav(clock, captureFile);
        if (!wav) {
            throw CADVException("CSoundEngine::OpenOutput - Could not create the audio capture file '%s'",
                                captureFile.c_str());
        }
        return wav;
    }
    std::string error;
    if (auto device = DAudioOutputSDL::Open(error)) {
        return device;
    }
    ReportWarning("no audio device could be opened (" + error + "); the game runs without sound.");
    return std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Discard);
}

void CSoundEngine::AddSoundObject(CSoundObject* object) {
    std::lock_guard lock(m_mutex);
    m_soundObjects.push_back(object);
}

void CSoundEngine::RemoveSoundObject(CSoundObject* object) {
    std::lock_guard lock(m_mutex);
    std::erase(m_soundObjects, object);
}

CSoundData& CSoundEngine::AddEffect(const std::string& name, const std::string& file) {
    const auto refuseTaken = [this, &name] {
        if (m_effects.contains(name)) {
            throw CADVException("Sound effect %s already defined!", name.c_str());
        }
    };
    {
        std::lock_guard lock(m_mutex);
        refuseTaken();
    }
    // Read and decoded before the lock is taken, so the streaming thread goes
    // on mixing however long a large file takes.
    auto object = CSoundData::Load(*this, file);
    std::lock_guard lock(m_mutex);
    refuseTaken();
    CSoundData& effect = *object;
    const int number = ++m_effectCount;
    Registration registration(*this, effect);
    m_effects.emplace(name, Effect{std::move(object), number, std::move(registration)});
    m_effectNumbers.emplace(number, &effect);
    return effect;
}

CSoundData* CSoundEngine::FindEffect(const std::string& name) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_effects.find(name);
    return found == m_effects.end() ? nullptr : found->second.object.get();
}

int CSoundEngine::EffectNumber(const std::string& name) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_effects.find(name);
    return found == m_effects.end() ? 0 : found->second.number;
}

CSoundData* CSoundEngine::EffectByNumber(int number) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_effectNumbers.find(number);
    return found == m_effectNumbers.end() ? nullptr : found->second;
}

void CSoundEngine::ClearEffects() {
    std::lock_guard lock(m_mutex);
    for (auto& [name, effect] : m_effects) {
        effect.object->Stop();
    }
    m_effectNumbers.clear();
    m_effects.clear();
    m_effectCount = 0;
}

void CSoundEngine::DefineMusic(const std::string& name, const std::string& parameters) {
    m_musicDefinitions[name] = parameters;
}

void CSoundEngine::PlayMusic(const std::string& name, int fadeInMs, int fadeOutMs) {
    if (name == CurrentMusicName()) {
        return;
    }
    // Everything that can fail comes first, so a failure leaves the music as
    // it was; the samples load without holding up the mixer.
    const auto definition = m_musicDefinitions.find(name);
    if (definition == m_musicDefinitions.end()) {
        throw CADVException("Music %s has not been defined", name.c_str());
    }
    const CParameterParser parser(definition->second);
    auto music = std::make_unique<CSoundMultiSequencer>(
        *this, [&parser](const std::string& key, const std::string& def) {
            return parser.GetParameterDefault(key, def);
        });

    std::lock_guard lock(m_mutex);
    DiscardFadingMusic();
    m_fadingMusic = std::move(m_currentMusic);
    if (m_fadingMusic.object) {
        m_fadingMusic.object->Fade(0, static_cast<std::uint32_t>(std::max(fadeOutMs, 0)));
    }
    music->SetLoop(true);
    music->Play();
    music->SetVolume(0);
    music->Fade(MaxGroupVolume, static_cast<std::uint32_t>(std::max(fadeInMs, 0)));
    Registration registration(*this, *music);
    m_currentMusic.object = std::move(music);
    m_currentMusic.registration = std::move(registration);
    m_currentMusicName = name;
}

void CSoundEngine::StopMusic(int fadeOutMs) {
    std::lock_guard lock(m_mutex);
    DiscardFadingMusic();
    m_fadingMusic = std::move(m_currentMusic);
    if (m_fadingMusic.object) {
        m_fadingMusic.object->Fade(0, static_cast<std::uint32_t>(std::max(fadeOutMs, 0)));
    }
    m_currentMusicName.clear();
}

void CSoundEngine::DiscardFadingMusic() {
    if (m_fadingMusic.object) {
        m_fadingMusic.object->Stop();
        m_fadingMusic.Reset();
    }
}

CSoundMultiSequencer* CSoundEngine::CurrentMusic() const {
    std::lock_guard lock(m_mutex);
    return m_currentMusic.object.get();
}

CSoundMultiSequencer* CSoundEngine::FadingMusic() const {
    std::lock_guard lock(m_mutex);
    return m_fadingMusic.object.get();
}

std::string CSoundEngine::CurrentMusicName() const {
    std::lock_guard lock(m_mutex);
    return m_currentMusicName;
}

void CSoundEngine::Run() {
    while (IsRunning()) {
        bool middle = false;
        if (!m_restart) {
            middle = WaitForHalf();
            if (!IsRunning()) {
                break;
            }
        }
        MixHalf(m_restart || middle ? 0 : m_bufferBytes / 2);
        if (m_restart) {
            m_output->Play();
            m_restart = false;
        }
    }
}

bool CSoundEngine::WaitForHalf() {
    for (;;) {
        const bool start = m_output->WaitFor(DAudioOutput::Point::Start, FadeStepMs);
        const bool middle = m_output->WaitFor(DAudioOutput::Point::Middle, FadeStepMs);
        {
            std::lock_guard lock(m_mutex);
            for (CSoundObject* object : m_soundObjects) {
                object->StepFade();
            }
        }
        if (start || middle || !IsRunning()) {
            return middle;
        }
    }
}

void CSoundEngine::MixHalf(std::size_t offset) {
    try {
        std::lock_guard lock(m_mutex);
        m_mixer->Mix(m_soundObjects, m_effectVolume, m_musicVolume);
    } catch (...) {
        // The game's thread rethrows it; until then this half stays silent.
        HandOver(std::current_exception());
        m_mixer->Silence();
    }
    m_mixer->Write(m_output->Lock(offset, HalfBufferBytes()), m_masterVolume);
    m_output->Unlock();
}
