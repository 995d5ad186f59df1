#pragma once

#include "render/device/DDeviceNull.h"
#include "render/gui/CGuiComponent.h"

#include <gtest/gtest.h>

struct ScreenSize {
    int width;
    int height;
};

// The sizes a screen is laid out for and then laid out again after a switch.
constexpr ScreenSize kFirstScreen{1024, 768};
constexpr ScreenSize kSecondScreen{1280, 960};

struct ScreenPoint {
    int x;
    int y;
};

// The middle of a component, in screen pixels.
inline ScreenPoint CentreOf(const CGuiComponent& component) {
    return {component.AbsoluteLeft() + component.Width() / 2,
            component.AbsoluteTop() + component.Height() / 2};
}

// A GUI root on the null device, sized like the first screen's back buffer.
class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() { root.SetRect(0, 0, kFirstScreen.width, kFirstScreen.height); }

    // Texts rasterised so far: each one locks its texture once.
    int Rasterised() const { return device.CountCalls("LockTexture"); }

    DDeviceNull device;
    CGuiComponent root{device};
};
