#pragma once

#include <cstdint>
#include <memory>
#include <string>

class C3DEngine2;
class CPolygonTable;
class CScriptEngine;

// What a scene and its objects need from the game that owns them.
class ISceneHost {
public:
    virtual ~ISceneHost() = default;

    // A script engine that knows the game's standard objects (and "scene"
    // once a scene is current) and has run the shared library.
    virtual std::unique_ptr<CScriptEngine> CreateScriptEngine() = 0;
    // The text of "data\scripts\" + name from the archives.
    virtual std::string LoadScriptFile(const std::string& name) const = 0;
    virtual C3DEngine2& Renderer() = 0;
    // The named polygons the game's scripts defined.
    virtual CPolygonTable& Polygons() = 0;
    // The game clock, in milliseconds.
    virtual std::uint32_t Now() const = 0;
};
