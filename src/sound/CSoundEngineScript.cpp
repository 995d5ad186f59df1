// The script object `sound`.
#include "sound/CSoundEngine.h"

#include "resources/CADVException.h"
#include "script/TextConversion.h"
#include "sound/CSoundData.h"
#include "sound/CSoundMultiSequencer.h"

namespace {

constexpr DispatchMember Members[] = {{u"definemusic", true},     {u"addeffect", true},
                                      {u"addstreameffect", true}, {u"playmusic", true},
                                      {u"currentmusic", false},   {u"stopmusic", true}};
constexpr DISPID DefineMusicId = CDispatchBase::kFirstMemberId;
constexpr DISPID AddEffectId = DefineMusicId + 1;
constexpr DISPID AddStreamEffectId = DefineMusicId + 2;
constexpr DISPID PlayMusicId = DefineMusicId + 3;
constexpr DISPID CurrentMusicId = DefineMusicId + 4;
constexpr DISPID StopMusicId = DefineMusicId + 5;

constexpr int DefaultFadeIn = 5000;
constexpr int DefaultFadeOut = 10000;

} // namespace

std::span<const DispatchMember> CSoundEngine::ScriptMembers() {
    return Members;
}

DISPID CSoundEngine::FindName(std::u16string_view name) {
    const int number = EffectNumber(WideToAnsi(std::u16string(name)));
    return number > 0 ? kFirstChildId + number : DISPID_UNKNOWN;
}

HRESULT CSoundEngine::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                   Variant* result) {
    if (flags & DISPATCH_METHOD) {
        switch (id) {
        case DefineMusicId:
            ExpectArgCount(args, 2);
            DefineMusic(AnsiArg(args, 0), AnsiArg(args, 1));
            break;
        case AddEffectId:
        case AddStreamEffectId:
            ExpectArgCount(args, 2);
            AddEffect(AnsiArg(args, 0), AnsiArg(args, 1));
            break;
        case PlayMusicId: {
            // The second argument is accepted and has no meaning.
            ExpectArgCount(args, 1, 4);
            const std::string name = AnsiArg(args, 0);
            const int fadeIn = args.size() > 2 ? IntArg(args, 2) : DefaultFadeIn;
            const int fadeOut = args.size() > 3 ? IntArg(args, 3) : DefaultFadeOut;
            PlayMusic(name, fadeIn, fadeOut);
            break;
        }
        case StopMusicId:
            ExpectArgCount(args, 0, 1);
            StopMusic(args.empty() ? DefaultFadeOut : IntArg(args, 0));
            break;
        default:
            break;
        }
    }
    if (flags & DISPATCH_PROPERTYGET) {
        if (id == CurrentMusicId) {
            SetResult(result, Variant::Dispatch(CurrentMusic()));
        } else if (id > kFirstChildId) {
            CSoundData* effect = EffectByNumber(id - kFirstChildId);
            if (!effect) {
                throw CADVException("Sound effect not defined, but how is this possible?");
            }
            SetResult(result, Variant::Dispatch(effect));
        }
    }
    return S_OK;
}
