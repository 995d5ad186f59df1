#pragma once

#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "scene_support/SceneTestHost.h"
#include "script/CScriptEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A scene loaded from the script "test.scs" given in code, with the box models
// "m.spr" (1 x 2 x 1) and "big.spr" (2 x 1 x 2).
class SceneFixture : public ::testing::Test {
protected:
    CScene& Load(const std::string& script, SceneTestHost::Files extra = {});

    CScene& Scene() { return *m_host->Scene(); }
    SceneTestHost& Host() { return *m_host; }
    CSceneObject& Object(const std::u16string& name);

    // Runs script text in the scene's engine; the completion value.
    Variant Eval(const std::string& text);
    // The exception text `action` throws, or "" when it throws none.
    template <class Action> static std::string ErrorOf(Action action) {
        try {
            action();
        } catch (const CADVException& e) {
            return e.GetText();
        }
        return {};
    }

    struct InvokeResult {
        HRESULT hr;
        Variant value;
        std::u16string error;
    };
    // A method call on the scene by member name, as a script makes it.
    InvokeResult Invoke(std::u16string_view member, std::vector<Variant> args);

private:
    std::unique_ptr<SceneTestHost> m_host;
};

inline Variant Text(const char16_t* text) {
    return Variant::Bstr(text);
}
