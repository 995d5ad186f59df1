#pragma once

#include "script/CDispatchBase.h"

#include <span>

class CCameraControl;
class CCommandFlow;
class CGameScreens;
class CGameWorld;
class CMessageBoxFlow;

// The script object "game" that every script engine knows: scene switches,
// message boxes, named polygons, the camera and the context window's lists.
class CGameScriptObject : public CDispatchBase {
public:
    CGameScriptObject(CGameWorld& world, CMessageBoxFlow& messageBoxes, CCameraControl& camera,
                      CCommandFlow& commands, const CGameScreens& screens);

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

protected:
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    HRESULT AddPolygon(std::span<const Variant> args);
    HRESULT SwitchPolygons(bool enable, std::span<const Variant> args);
    bool NotDoingAnything() const;

    CGameWorld& m_world;
    CMessageBoxFlow& m_messageBoxes;
    CCameraControl& m_camera;
    CCommandFlow& m_commands;
    const CGameScreens& m_screens;
};
