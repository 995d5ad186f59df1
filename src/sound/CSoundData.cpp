#include "sound/CSoundData.h"

#include "sound/CSoundDataOgg.h"
#include "sound/CSoundDataRaw.h"

#include <algorithm>
#include <cctype>

namespace {

bool EndsWithOgg(const std::string& name) {
    constexpr std::string_view ogg = ".ogg";
    return name.size() >= ogg.size() &&
           std::equal(ogg.begin(), ogg.end(), name.end() - ogg.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

std::unique_ptr<CSoundData> CSoundData::Load(CSoundEngine& engine, const std::string& name) {
    if (EndsWithOgg(name)) {
        return std::make_unique<CSoundDataOgg>(engine, name);
    }
    return std::make_unique<CSoundDataRaw>(engine, name);
}

std::string CSoundData::SoundPath(const std::string& name) {
    return "data\\sound\\" + name;
}
