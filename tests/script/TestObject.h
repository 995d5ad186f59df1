#pragma once

#include "script/CDispatchBase.h"
#include "script/IScriptEngineOwner.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// A small script object with every kind of member, used to drive the bridge
// from real scripts: "value" (property), "echo" (method returning its
// arguments joined), "fail" (method throwing an engine exception), "self"
// (method returning the object), "child" (property returning an owned child),
// "add" (two integers), and named children found through FindName, whose
// lookup of "broken" throws.
class TestObject : public CDispatchBase {
public:
    TestObject();

    Variant value;
    std::vector<std::u16string> lookedUp; // every name that reached GetIDsOfNames
    std::unique_ptr<TestObject> child;
    std::map<std::u16string, std::unique_ptr<TestObject>> named;

    HRESULT GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names, DISPID* ids) override;

protected:
    DISPID FindName(std::u16string_view name) override;
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;
};

// Keeps every script error report the engine hands over.
struct RecordingOwner : IScriptEngineOwner {
    std::vector<std::string> reports;
    void OnScriptException(const std::string& report) override { reports.push_back(report); }
};
