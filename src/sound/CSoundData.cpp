#include "sound/CSoundData.h"

#include "sound/CSoundDataOgg.h"
#include "sound/CSoundDataRaw.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr DispatchMember Members[] = {{u"play", true},    {u"stop", true}, {u"loop", true},
                                      {u"volume", false}, {u"pan", false}, {u"fade", true}};
constexpr DISPID PlayId = CDispatchBase::kFirstMemberId;
constexpr DISPID StopId = PlayId + 1;
constexpr DISPID LoopId = PlayId + 2;
constexpr DISPID FadeId = PlayId + 5;

bool EndsWithOgg(const std::string& name) {
    constexpr std::string_view ogg = ".ogg";
    return name.size() >= ogg.size() &&
           std::equal(ogg.begin(), ogg.end(), name.end() - ogg.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

std::span<const DispatchMember> CSoundData::ScriptMembers() {
    return Members;
}

CSoundData::CSoundData(CSoundEngine& engine) : CSoundObject(engine, ScriptMembers()) {}

std::unique_ptr<CSoundData> CSoundData::Load(CSoundEngine& engine, const std::string& name) {
    if (EndsWithOgg(name)) {
        return std::make_unique<CSoundDataOgg>(engine, name);
    }
    return std::make_unique<CSoundDataRaw>(engine, name);
}

std::string CSoundData::SoundPath(const std::string& name) {
    return "data\\sound\\" + name;
}

void CSoundData::InvokeMethod(DISPID id, std::span<const Variant> args) {
    switch (id) {
    case PlayId:
        ExpectArgCount(args, 0);
        PlayFromStart();
        break;
    case StopId:
        ExpectArgCount(args, 0);
        Stop();
        break;
    case LoopId:
        ExpectArgCount(args, 0);
        SetLoop(true);
        break;
    case FadeId:
        ExpectArgCount(args, 2);
        Fade(IntArg(args, 0), DurationArg(args, 1));
        break;
    default:
        break;
    }
}
