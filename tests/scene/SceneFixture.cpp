#include "scene/SceneFixture.h"

CScene& SceneFixture::Load(const std::string& script, SceneTestHost::Files extra) {
    extra["data\\scripts\\test.scs"] = SceneTestHost::Text(script);
    extra["data\\models\\m.spr"] = BoxSprite(1.0f, 2.0f, 1.0f);
    extra["data\\models\\big.spr"] = BoxSprite(2.0f, 1.0f, 2.0f);
    m_host = std::make_unique<SceneTestHost>(extra);
    return m_host->LoadScene("test");
}

CSceneObject& SceneFixture::Object(const std::u16string& name) {
    CSceneObject* object = Scene().FindByName(name);
    if (object == nullptr) {
        throw std::runtime_error("no such object");
    }
    return *object;
}

Variant SceneFixture::Eval(const std::string& text) {
    Variant result;
    Scene().Script()->Run(text, &result);
    return result;
}

SceneFixture::InvokeResult SceneFixture::Invoke(std::u16string_view member, std::vector<Variant> args) {
    DISPID id = DISPID_UNKNOWN;
    const std::u16string_view names[] = {member};
    InvokeResult out{Scene().GetIDsOfNames(IID_NULL, names, &id), {}, {}};
    if (FAILED(out.hr)) {
        return out;
    }
    EXCEPINFO info;
    out.hr = Scene().Invoke(id, IID_NULL, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &out.value, &info);
    out.error = info.bstrDescription;
    return out;
}
