#pragma once

#include "mathutil/D3DXTypes.h"
#include "navigation/CPolygon.h"
#include "render/model/C3DIMesh2.h"
#include "resources/CLogger.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class ByteReader;
class CModelInstance;
class CPolygon;
class IModelHost;

// A model: named animations, each a sequence of frame meshes, read from one
// IMS2 or SPRT file, or built from generated shapes when it has no file.
class C3DSpresh : public CLogger {
public:
    using Frames = std::vector<std::unique_ptr<C3DIMesh2>>;
    using Animations = std::map<std::string, Frames>;

    // An empty file name makes a model for generated shapes.
    C3DSpresh(IModelHost& host, std::string fileName);
    ~C3DSpresh() override;

    // Reads the file when `load` is set; see the failure texts in the .cpp.
    // A failed load leaves the model as it was, unloaded.
    void Load(bool load);
    // Builds every buffer again after the device was recreated: a loaded file
    // is read again, generated frames are rebuilt from their parameters.
    void Restore();

    const std::string& FileName() const { return m_fileName; }
    bool IsLoaded() const { return m_loaded; }
    const Animations& GetAnimations() const { return m_animations; }
    const std::string& CurrentAnimation() const { return m_currentAnimation; }
    int CurrentFrame() const { return m_currentFrame; }
    bool HasOpaqueMaterials() const { return m_hasOpaque; }
    bool HasTransparentMaterials() const { return m_hasTransparent; }

    bool KeepInCache() const { return m_keepInCache; }
    // "true" sets the mark, "false" clears it, anything else leaves it.
    void SetKeepInCache(const std::string& value);

    // The frame `phase` (0 <= phase < 1) of the way through the animation, or
    // null when the model has no such animation. Loads the model first.
    C3DIMesh2* SelectFrame(const std::string& animation, float phase);
    // Draws the frame of `animation` at `phase` for one pass: the materials
    // whose transparent flag equals `transparent`. A texture override >= 0 is
    // bound once instead of the materials' own textures; without
    // `useTextures` no texture is bound at all, without `setMaterials` the
    // device keeps its material, and generated shapes are drawn only with
    // `drawShapes`. See C3DSpreshRender.cpp for the failure texts.
    void Render(const std::string& animation, float phase, int textureOverride, bool transparent,
                bool useTextures, bool setMaterials, bool drawShapes);
    // Index count / 3 of the first frame of "idle" (else of the first animation).
    int TriangleCount();

    // Generated shapes, appended as a frame of `animation` (see C3DSpreshShapes.cpp).
    void CreateFilledCircle(float radius, const std::string& animation, int segments, int textureId,
                            const D3DMATERIAL9& material);
    void CreateBand(float bottomRadius, float bottomHeight, float topRadius, float topHeight,
                    const std::string& animation, int segments, int textureId, const D3DMATERIAL9& material);

    // Bakes rotation, scale and translation into every frame.
    void ReCalc(float x, float y, float z, float roll, float pitch, float yaw, float scaleX, float scaleY,
                float scaleZ);
    // World box of the instance's frame; false when the model has no such frame.
    bool GetBoundaries(const CModelInstance& instance, D3DXVECTOR3* min, D3DXVECTOR3* max);
    // One plane per triangle of the instance's frame, in world space.
    std::vector<D3DXPLANE> CalculatePlanes(const CModelInstance& instance);
    // Model-space ray test against the first frame of "idle"; the last hit
    // triangle in index order wins.
    bool HasIntersection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, D3DXVECTOR3* hit,
                         D3DXVECTOR3* normal);
    // The positions of the triangle HasIntersection hit last.
    const std::array<D3DXVECTOR3, 3>& LastHitTriangle() const { return m_lastHit; }
    // Footprint of the frame on the ground, or null without such a frame.
    const CPolygon* CollisionOutline(const std::string& animation, float phase);

    void SetTexture(int textureId);
    // After the texture table was emptied: the materials load their own
    // textures again and take the new ids (a skin set on the model is gone).
    void ReloadTextures();
    void SetEmissive(float r, float g, float b, float a);

    // Outline of every frame's vertices in (x, z) (see ModelOutline.h).
    void CreateCollisionData();
    // The frame whose outline goes into a computed collision file: the first of
    // "idle", else of the animation first in name order; null without frames.
    const C3DIMesh2* CollisionFileFrame() const;

private:
    void EnsureLoaded();
    Animations ReadFile(const std::vector<std::uint8_t>& data);
    void ReadMesh(ByteReader& reader, Frames& frames);
    void LoadCollisionData();
    std::optional<std::vector<std::uint8_t>> ReadCachedFile(const std::string& name) const;
    bool UseCollisionFile(const std::optional<std::vector<std::uint8_t>>& data);
    void WriteCollisionFile(const std::string& name);
    const C3DIMesh2* FirstIdleFrame() const;
    void BuildShape(C3DIMesh2& frame);
    void AddShape(const SpreshShape& shape, int kind, const std::string& animation);

    template <class Visit> void ForEachFrame(Visit visit) {
        for (auto& [name, frames] : m_animations) {
            for (auto& frame : frames) {
                visit(*frame);
            }
        }
    }

    IModelHost& m_host;
    std::string m_fileName;
    // Where the outline computed for the loaded file is cached.
    std::string m_cachedCollisionName;
    Animations m_animations;
    std::string m_currentAnimation;
    int m_currentFrame = 0;
    bool m_loaded = false;
    bool m_hasOpaque = false;
    bool m_hasTransparent = false;
    bool m_keepInCache = false;
    std::array<D3DXVECTOR3, 3> m_lastHit{};
};

// The file the outline of `logicalPath` is kept in under `cacheFolder`, or an
// empty path when the logical path would lead outside it.
std::filesystem::path CachedFilePath(const std::filesystem::path& cacheFolder,
                                     const std::string& logicalPath);
// The outline of a collision file as the engine reads it, or nothing when the
// engine ignores the file (too short, another version, points missing).
std::optional<CPolygon> ReadCollisionFile(std::span<const std::uint8_t> data);
// The logical name a model's computed outline is cached under: its own path,
// a hash of the model file's bytes and ".col". Another game's model of the same
// name, or a patched one, so never meets an outline that is not its own.
std::string CachedCollisionName(const std::string& logicalPath, std::span<const std::uint8_t> modelBytes);
