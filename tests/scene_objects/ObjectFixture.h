#pragma once

#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "scene_support/SceneTestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A scene whose OnInit body is given in code. The scene script and the object
// script "actor.js" keep what reaches them in a list `log`: the scene's events
// as "event:parameter", the object's as "event:parameter" and its actions by
// name. Models: "box.spr" (1 x 1 x 1 box standing on the ground) and
// "small.spr" (0.1 x 1 x 0.1).
class ObjectFixture : public ::testing::Test {
protected:
    CScene& Load(const std::string& onInitBody);
    // The files of such a scene, for a second host.
    static SceneTestHost::Files Files(const std::string& onInitBody);

    CScene& Scene() { return *m_host->Scene(); }
    SceneTestHost& Host() { return *m_host; }
    CSceneObject& Object(const std::u16string& name);

    // Runs script text in the scene's engine; the completion value.
    Variant Eval(const std::string& text);
    // The entries of `log` in the scene's script, joined by "|".
    std::string SceneLog();
    // The entries of `log` in the object's own script, joined by "|".
    std::string ObjectLog(const std::u16string& name);
    // Empties both kinds of log.
    void ClearLogs();

    // Runs the scene in 10 ms frames.
    void Run(std::uint32_t ms) { m_host->Run(ms, 10); }

private:
    std::unique_ptr<SceneTestHost> m_host;
};

// How often `part` occurs in `text`.
int Count(const std::string& text, const std::string& part);
