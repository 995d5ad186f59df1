#include "scene_objects/ObjectFixture.h"

#include "script/CScriptEngine.h"
#include "script/TextConversion.h"

#include <stdexcept>

namespace {

const char* const kLogFunctions = "var log = [];\n"
                                  "function OnEvent(e, p) { log.push(e + ':' + p); }\n"
                                  "function OnIdle() {}\nfunction OnDestroy() {}\n";

} // namespace

CScene& ObjectFixture::Load(const std::string& onInitBody) {
    m_host = std::make_unique<SceneTestHost>(Files(onInitBody));
    return m_host->LoadScene("test");
}

SceneTestHost::Files ObjectFixture::Files(const std::string& onInitBody) {
    SceneTestHost::Files files;
    files["data\\scripts\\test.scs"] =
        SceneTestHost::Text(std::string(kLogFunctions) + "function OnInit() {\n" + onInitBody + "\n}\n");
    files["data\\scripts\\actor.js"] =
        SceneTestHost::Text(std::string(kLogFunctions) + "function OnInit() {}\n"
                                                         "function OnAction(a) { log.push(a); }\n");
    files["data\\models\\box.spr"] = BoxSprite(1.0f, 1.0f, 1.0f);
    files["data\\models\\small.spr"] = BoxSprite(0.1f, 1.0f, 0.1f);
    return files;
}

CSceneObject& ObjectFixture::Object(const std::u16string& name) {
    CSceneObject* object = Scene().FindByName(name);
    if (object == nullptr) {
        throw std::runtime_error("no object " + WideToAnsi(name));
    }
    return *object;
}

Variant ObjectFixture::Eval(const std::string& text) {
    Variant result;
    Scene().Script()->Run(text, &result);
    return result;
}

namespace {

std::string LogOf(CScriptEngine* engine) {
    Variant result;
    if (engine == nullptr || !engine->Run("log.join('|')", &result) || result.Type() != VT_BSTR) {
        throw std::runtime_error("no log");
    }
    return WideToAnsi(result.BstrValue());
}

} // namespace

std::string ObjectFixture::SceneLog() {
    return LogOf(Scene().Script());
}

std::string ObjectFixture::ObjectLog(const std::u16string& name) {
    return LogOf(Object(name).Script());
}

void ObjectFixture::ClearLogs() {
    Scene().Script()->Run("log = [];");
    for (CSceneObject* object : Scene().Objects()) {
        if (object->Script() != nullptr) {
            object->Script()->Run("log = [];");
        }
    }
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}
