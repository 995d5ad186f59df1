// The scene's part of a savegame: every object in name order, each with its
// own state and its instance or light record.
#include "scene/CScene.h"

#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "resources/ByteReader.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"
#include "scene/CSceneObject.h"
#include "scene/ISceneHost.h"
#include "script/TextConversion.h"

namespace {

constexpr std::uint32_t kModelRecord = 1;
constexpr std::uint32_t kLightRecord = 2;

[[noreturn]] void Damaged(const char* what) {
    throw CADVException("CScene::Restore - Scene record is damaged: %s", what);
}

// Runs a sub-record reader on the bytes from the reader's position and moves past them.
template <class Read> void ReadSubRecord(ByteReader& in, std::span<const std::uint8_t> data, Read read) {
    const std::size_t at = in.Position();
    in.Seek(at + read(data.subspan(at)));
}

std::u16string ReadName(ByteReader& in) {
    const std::uint32_t length = in.U32();
    if (!in.Ok() || in.Remaining() < 2 || length > (in.Remaining() - 2) / 2) {
        Damaged("object name runs past the end");
    }
    std::u16string name(length, u'\0');
    for (char16_t& c : name) {
        c = in.U16();
    }
    if (in.U16() != 0) {
        Damaged("object name is not terminated");
    }
    return name;
}

} // namespace

void CScene::Save(std::vector<std::uint8_t>& out) const {
    const std::size_t count = m_objects.size();
    PutU32(out, static_cast<std::uint32_t>(count));
    std::size_t written = 0;
    for (const auto& [name, entry] : m_names) {
        if (++written > count) {
            throw CADVException("Can't save game. A problem occured.");
        }
        const CSceneObject& object = *entry.object;
        PutU32(out, object.IsLight() ? kLightRecord : kModelRecord);
        PutU32(out, static_cast<std::uint32_t>(name.size()));
        for (char16_t c : name) {
            PutU16(out, c);
        }
        PutU16(out, 0);
        object.Save(out);
        if (object.IsLight()) {
            object.Light()->Save(out);
        } else {
            object.Instance()->Save(out);
            PutBool(out, &object == m_freeMove);
        }
    }
}

std::size_t CScene::Restore(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    const std::uint32_t count = in.U32();
    if (!in.Ok()) {
        Damaged("no object count");
    }
    C3DEngine2& renderer = m_host.Renderer();
    for (std::uint32_t n = 0; n < count; ++n) {
        const std::uint32_t kind = in.U32();
        if (!in.Ok() || (kind != kModelRecord && kind != kLightRecord)) {
            Damaged("unknown object kind");
        }
        const std::u16string name = ReadName(in);
        CSceneObject* object = FindByName(name);
        if (object != nullptr && object->IsLight() != (kind == kLightRecord)) {
            Damaged("object kind differs from the scene's object");
        }

        // An object the scene script did not rebuild comes back from the
        // record alone. The record names no model, so a model object gets an
        // empty generated one: it keeps its state and its place but shows nothing.
        ObjectRef created;
        std::unique_ptr<CModelInstance> instance;
        if (object == nullptr) {
            if (kind == kLightRecord) {
                created.reset(new CSceneObject(
                    m_host, *this,
                    renderer.AddPointLight({1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, 1.0f, 100.0f)));
            } else {
                instance = renderer.CreateInstance(renderer.CreateUnnamedModel(), {0.0f, 0.0f, 0.0f},
                                                   {0.0f, 0.0f, 0.0f}, true, true, CModelInstance::Ordinary);
                created.reset(new CSceneObject(m_host, *this, instance.get()));
            }
            created->SetName(name);
            object = created.get();
        }

        ReadSubRecord(in, data, [&](auto bytes) { return object->Load(bytes); });
        bool freeMove = false;
        if (CEngineLight* light = object->Light()) {
            ReadSubRecord(in, data, [&](auto bytes) { return light->Load(bytes); });
            renderer.ApplyLight(*light);
        } else {
            CModelInstance* placed = object->Instance();
            ReadSubRecord(in, data, [&](auto bytes) { return placed->Load(bytes); });
            if (!placed->skinName.empty() && placed->skinTextureId < 0) {
                placed->skinTextureId = renderer.GetTextureId(placed->skinName);
            }
            freeMove = in.U8() != 0;
        }
        if (!in.Ok()) {
            Damaged("record runs past the end");
        }

        if (instance) {
            Show(std::move(created), std::move(instance));
        } else if (created) {
            Register(created.release());
        }
        if (freeMove) {
            m_freeMove = object;
        }
    }
    return in.Position();
}
