#pragma once

#include "mathutil/D3DXTypes.h"
#include "render/CEngineLight.h"
#include "render/CMouseCursor.h"
#include "render/CTextureTable.h"
#include "render/gui/CGuiComponent.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class C3DSpresh;
class CArchiveModelHost;
class CFileManager;
class CModelCache;
class CModelInstance;
class DDevice;

// The renderer: the device, the model cache and texture table, the model
// instances and lights of the current scene, the camera, ambient light, fog,
// brightness, zoom and shadow strength, the mouse cursor, and the frame that
// draws what this state describes (C3DEngine2Frame.cpp), with its effects
// (C3DEngine2Effects.cpp) and object picking (C3DEngine2Picking.cpp). It is
// the root of the GUI tree: the game's screens are its children, sized to the
// back buffer and drawn over the scene.
class C3DEngine2 : public CGuiComponent {
public:
    // A world-space ray from the eye through a screen pixel.
    struct PickingRay {
        D3DXVECTOR3 origin;
        D3DXVECTOR3 direction; // unit length
    };

    struct Settings {
        int textureQuality = 2;
        bool shadows = true;
        bool mirrors = true;
        bool lighdows = true;
        bool preload = true;
    };

    // `cacheFolder` keeps computed collision outlines; empty keeps none.
    C3DEngine2(DDevice& device, const CFileManager& files, std::filesystem::path cacheFolder,
               const Settings& settings);
    ~C3DEngine2() override;
    C3DEngine2(const C3DEngine2&) = delete;
    C3DEngine2& operator=(const C3DEngine2&) = delete;

    // GUI and cursor
    CMouseCursor& Cursor() { return m_cursor; }
    // The component the loading screen shows alone (null: none).
    void SetSingleScreen(CGuiComponent* component) { m_singleScreen = component; }
    // Clears the target and draws only the single-screen component, visible
    // for the while, and presents it; nothing without such a component.
    void RenderSingleScreen();

    DDevice& Device() { return m_device; }
    const Settings& GetSettings() const { return m_settings; }
    void SetTextureQuality(int quality);
    // The options screen switches the effects; the next frame follows.
    void SetEffects(bool shadows, bool mirrors, bool lighdows);

    // Device and frame
    // The window's client size, which the back buffer takes in windowed mode.
    void SetClientSize(int width, int height);
    // Sizes the device for the mode (first call) or resets it for a new one,
    // then sets the projection, the render states, the lights and the fog. A
    // failed reset brings the device back and rebuilds textures and models.
    void CreateDevice(int width, int height, bool fullScreen);
    bool DeviceCreated() const { return m_deviceCreated; }
    // The back buffer's size: the screen that picking and the GUI measure in.
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    float Aspect() const { return m_aspect; }
    // Draws and presents one frame at tick `now`. Without `wait` the present
    // does not wait for a busy device; a frame that could not be presented
    // is only presented by the next call. Returns whether it was presented.
    bool RenderFrame(std::uint32_t now, bool wait);
    // Presents the last frame if it was not presented yet.
    void PresentPendingFrame();
    bool FrameDone() const { return m_frameDone; }
    // Frames drawn in the last whole second, for the frame-rate label.
    int FramesLastSecond() const { return m_framesLastSecond; }

    // Picking, in back-buffer pixels
    // The pixel at (x, y) after drawing every instance of kinds 1, 2 and 4
    // in its object id: the id under the pixel, 0 for none (and for a pixel
    // off the screen).
    std::uint32_t PickColour(int x, int y);
    PickingRay GetPickingRay(float x, float y) const;
    // Where the ray through (x, y) meets the floor: the plane of the first
    // visible, enabled shadow surface. Nothing when there is no floor or the
    // ray runs parallel to it; a point behind the eye throws CADVException.
    std::optional<D3DXVECTOR3> Mouse_CalculatePickingPositionOnShadowPlane(float x, float y,
                                                                           PickingRay* ray = nullptr);
    // The plane of a shadow or mirror surface's first triangle, computed
    // again only when the surface moved or turned.
    const D3DXPLANE& SurfacePlane(CModelInstance& surface);

    // Models and textures
    CModelCache& Models() { return *m_models; }
    CTextureTable& Textures() { return *m_textures; }
    // "data\models\" + name, from the cache.
    C3DSpresh* GetModel(const std::string& name);
    // A model for generated shapes.
    C3DSpresh* CreateUnnamedModel();
    // Takes back the last one made when its shape was refused.
    void DiscardUnnamedModel(const C3DSpresh* model);
    int GetTextureId(const std::string& name) { return m_textures->GetTextureId(name); }

    // Model instances: created outside the list, shown once added.
    std::unique_ptr<CModelInstance> CreateInstance(C3DSpresh* model, const D3DXVECTOR3& position,
                                                   const D3DXVECTOR3& rotation, bool visible, bool enabled,
                                                   int kind) const;
    CModelInstance* AddInstance(std::unique_ptr<CModelInstance> instance);
    // Takes the instance out of the list and destroys it; unknown ones are ignored.
    void RemoveInstance(const CModelInstance* instance);
    void DeleteAllInstances();
    const std::vector<std::unique_ptr<CModelInstance>>& Instances() const { return m_instances; }

    // Camera
    void SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up);
    void SetCameraFromAngles(const D3DXVECTOR3& eye, float roll, float pitch, float yaw);
    const D3DXVECTOR3& CameraEye() const { return m_eye; }
    const D3DXVECTOR3& CameraAt() const { return m_at; }
    const D3DXVECTOR3& CameraUp() const { return m_up; }
    const D3DXMATRIX& ViewMatrix() const { return m_view; }
    bool CameraChanged() const { return m_cameraChanged; }
    // Eye, look-at and up: nine floats, 36 bytes.
    static constexpr std::size_t kCameraRecordSize = 36;
    void SaveCamera(std::vector<std::uint8_t>& out) const;
    // Reads the record and rebuilds the view; returns its size. A truncated
    // record throws CADVException and changes nothing.
    std::size_t LoadCamera(std::span<const std::uint8_t> data);

    float Zoom() const { return m_zoom; }
    void SetZoom(float zoom) { m_zoom = zoom; }
    float ShadowStrength() const { return m_shadowStrength; }
    void SetShadowStrength(float strength);
    const D3DMATERIAL9& ShadowMaterial() const { return m_shadowMaterial; }
    // The opacity of the shadow a caster at `caster` throws from `light`, or
    // nothing when it stands at or beyond the range of a positional light.
    // A negative strength fades shadows with the distance from the light.
    static std::optional<float> ShadowAlpha(const D3DLIGHT9& light, const D3DXVECTOR3& caster,
                                            float strength);

    // Scales every light, the ambient colour and the fog colour; lights and fog
    // are applied again.
    void SetBrightness(float factor);
    float Brightness() const { return m_brightness; }
    void SetAmbient(std::uint32_t colour) { m_ambient = colour; }
    std::uint32_t Ambient() const { return m_ambient; }
    // The ambient colour as the device gets it.
    std::uint32_t ScaledAmbient() const { return ScaleColour(m_ambient); }
    void SetFog(std::uint32_t colour, float start, float end);
    void ClearFog();
    bool FogOn() const { return m_fogOn; }
    std::uint32_t FogColour() const { return m_fogColour; }
    float FogStart() const { return m_fogStart; }
    float FogEnd() const { return m_fogEnd; }

    // Lights: each takes the next light index.
    CEngineLight* AddPointLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& position, float attenuation,
                                float range);
    CEngineLight* AddSpotLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& position,
                               const D3DXVECTOR3& direction, float attenuation, float range, float falloff,
                               float theta, float phi);
    CEngineLight* AddDirectionalLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& direction);
    // Hands the light to the device, colours scaled by the brightness, and
    // enables it when it is enabled and switched on.
    void ApplyLight(const CEngineLight& light);
    void ApplyAllLights();
    // Switches every light off on the device and forgets them; indices start at 0 again.
    void DeleteAllLights();
    const std::vector<std::unique_ptr<CEngineLight>>& Lights() const { return m_lights; }

    // Everything a scene leaves behind: lights, models not marked to stay,
    // textures, instances, fog.
    void UnloadScene();

private:
    CEngineLight* AddLight(const D3DLIGHT9& light);
    std::uint32_t ScaleColour(std::uint32_t colour) const;
    void ApplyFog();

    // C3DEngine2Frame.cpp
    void SetDeviceStates();
    void SetProjection(float fieldOfView);
    void PrepareInstances();
    void CullLights();
    void CountFrame(std::uint32_t now);
    void DrawScene();
    void DrawOverlay();
    // Lighting and depth off around the GUI buffer's drawing.
    void DrawGui(const CGuiComponent* only);
    void Present(bool wait);
    // Its own world transform (times `extra`), its skin as texture override,
    // textures, materials and shapes: how the frame draws a scene object.
    void DrawInstance(const CModelInstance& instance, bool transparent, const D3DXMATRIX* extra = nullptr);
    void SetBlend(std::uint32_t source, std::uint32_t destination);
    // Visible, enabled scenery and ordinary objects: what the passes draw.
    static bool IsShownSceneObject(const CModelInstance& instance);

    // C3DEngine2Effects.cpp
    void DrawLighdows();
    void DrawShadows();
    void DrawMirrors();
    void DrawMirror(CModelInstance& mirror);
    void SetStencil(std::uint32_t function, std::uint32_t reference, std::uint32_t pass);
    // Every visible, enabled shadow surface with the matrix that projects
    // onto it from the light.
    template <class Visit> void ForEachShadowProjection(const D3DLIGHT9& light, Visit visit);

    DDevice& m_device;
    Settings m_settings;
    std::unique_ptr<CTextureTable> m_textures;
    std::unique_ptr<CArchiveModelHost> m_modelHost;
    std::unique_ptr<CModelCache> m_models;
    std::vector<std::unique_ptr<CModelInstance>> m_instances;
    std::vector<std::unique_ptr<CEngineLight>> m_lights;
    std::uint32_t m_nextLightId = 0;

    D3DXVECTOR3 m_eye{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_at{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_up{0.0f, 1.0f, 0.0f};
    D3DXMATRIX m_view;
    bool m_cameraChanged = false;

    float m_zoom = 1.0f;
    float m_brightness = 1.0f;
    std::uint32_t m_ambient = 0;
    bool m_fogOn = false;
    std::uint32_t m_fogColour = 0;
    float m_fogStart = 0.0f;
    float m_fogEnd = 0.0f;
    float m_shadowStrength = 0.4f;
    D3DMATERIAL9 m_shadowMaterial;

    CMouseCursor m_cursor;
    CGuiComponent* m_singleScreen = nullptr;

    int m_clientWidth = 1024;
    int m_clientHeight = 768;
    bool m_deviceCreated = false;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    float m_aspect = 4.0f / 3.0f;

    bool m_frameDone = true;
    int m_framesCounted = 0;
    int m_framesLastSecond = 0;
    std::uint32_t m_secondStart = 0;
};
