#pragma once

#include <cstdint>

// The engine's window-message records. The game's message handler is written
// against these codes (the classic desktop window messages and virtual-key
// codes), so the window layer translates whatever the platform delivers into
// them.
struct DMessage {
    std::uint32_t msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Message codes.
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SETFOCUS = 0x0007;
constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
// wParam of WM_CHAR is the typed character as a Unicode code point; the game
// narrows it to its 8-bit code page. Enter, Tab, Backspace and Escape arrive as
// 13, 9, 8 and 27, as a desktop window would send them.
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_SYSKEYUP = 0x0105;

// Virtual-key codes the engine uses; letters and digits are their upper-case ASCII codes.
constexpr std::uint32_t VK_BACK = 0x08;
constexpr std::uint32_t VK_TAB = 0x09;
constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_SHIFT = 0x10;
constexpr std::uint32_t VK_CONTROL = 0x11;
constexpr std::uint32_t VK_MENU = 0x12;
constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_SPACE = 0x20;
constexpr std::uint32_t VK_LEFT = 0x25;
constexpr std::uint32_t VK_UP = 0x26;
constexpr std::uint32_t VK_RIGHT = 0x27;
constexpr std::uint32_t VK_DOWN = 0x28;
constexpr std::uint32_t VK_DELETE = 0x2E;
constexpr std::uint32_t VK_F1 = 0x70;
constexpr std::uint32_t VK_F3 = 0x72;
constexpr std::uint32_t VK_F12 = 0x7B;
