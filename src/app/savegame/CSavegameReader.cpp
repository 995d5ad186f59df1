#include "app/savegame/CSavegameReader.h"

#include "app/savegame/SavegameLayout.h"
#include "render/C3DEngine2.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"
#include "scene/CPolygonTable.h"
#include "scene/CScene.h"
#include "state/CState.h"

#include <cstring>

using namespace SavegameLayout;

CSavegameReader::CSavegameReader(std::vector<std::uint8_t> content, std::string source)
    : m_content(std::move(content)), m_source(std::move(source)) {}

void CSavegameReader::Damaged(const std::string& problem) const {
    throw CADVException("CSavegameReader - Savegame %s is damaged: %s.", m_source.c_str(), problem.c_str());
}

std::uint32_t CSavegameReader::TakeU32() {
    const std::uint32_t value = ReadLittle32(m_content.data() + m_at);
    m_at += 4;
    return value;
}

void CSavegameReader::SkipTag(const char* section) {
    if (Remaining() < 4) {
        Damaged(std::string("it ends before ") + section);
    }
    m_at += 4;
}

std::string CSavegameReader::ReadHeader() {
    if (Remaining() < kHeaderSize) {
        Damaged("it holds " + std::to_string(Remaining()) + " bytes, too few for a savegame header of " +
                std::to_string(kHeaderSize));
    }
    const std::uint32_t tag = TakeU32();
    if (tag != kHeaderTag) {
        throw CADVException("CSavegameReader - Incorrect header for savegame %s (tag %u instead of %u).",
                            m_source.c_str(), tag, kHeaderTag);
    }
    const char* field = reinterpret_cast<const char*>(m_content.data() + m_at);
    m_at += kDescriptionSize;
    return {field, strnlen(field, kDescriptionSize)};
}

void CSavegameReader::ReadStore(CState& store, const char* section) {
    SkipTag(section);
    // The store's own errors name the source; the section tells which of the three failed.
    m_at += store.Load(Rest(), m_source + " (" + section + ")");
}

void CSavegameReader::ReadStores(CState& state, CState& inventory, CState& setup) {
    ReadStore(state, "the state section");
    ReadStore(inventory, "the inventory section");
    ReadStore(setup, "the setup section");
}

void CSavegameReader::ReadScene(CScene& scene) {
    SkipTag("the scene section");
    try {
        m_at += scene.Restore(Rest());
    } catch (const CADVException& e) {
        Damaged(std::string("its scene section does not read (") + e.Reason() + ")");
    }
}

void CSavegameReader::ReadCamera(C3DEngine2& renderer) {
    SkipTag("the camera section");
    if (Remaining() < C3DEngine2::kCameraRecordSize) {
        Damaged("it ends inside the camera section");
    }
    m_at += renderer.LoadCamera(Rest());
}

std::optional<std::string> CSavegameReader::ReadPolygons(CPolygonTable& polygons) {
    SkipTag("the polygon section");
    std::optional<std::string> unknown;
    for (;;) {
        if (Remaining() < 4) {
            Damaged("it ends inside the polygon section");
        }
        // Read unsigned: a negative length is as far beyond the limit as a huge one.
        const std::uint32_t length = TakeU32();
        if (length == 0 || length >= kPolygonNameLimit) {
            return unknown;
        }
        if (Remaining() < std::size_t{length} + 1) {
            Damaged("a polygon entry runs past its end");
        }
        const std::string name(reinterpret_cast<const char*>(m_content.data() + m_at), length);
        m_at += length;
        const bool enabled = m_content[m_at++] != 0;
        CNamedPolygon* polygon = polygons.Find(name);
        // The scene's scripts have rebuilt the table; a name they did not define
        // belongs to another version of the game or to a damaged file. The
        // other flags are still worth having.
        if (polygon == nullptr) {
            unknown = kUnknownPolygon;
            continue;
        }
        polygon->enabled = enabled;
    }
}

void CSavegameReader::ReadEnd() {
    SkipTag("its end tag");
}
