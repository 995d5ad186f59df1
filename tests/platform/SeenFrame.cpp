#include "SeenFrame.h"

SeenFrame ReadFrame(DWindow& window, std::uint32_t stepMs) {
    SeenFrame frame;
    DMessage message;
    while (window.PeekMessage(message)) {
        frame.messages.push_back(message);
    }
    window.Gamepad().Advance(stepMs);
    frame.mouseSignalled = window.Mouse().Read(frame.mouse);
    return frame;
}

std::string Describe(const SeenFrame& frame) {
    std::string text;
    for (const DMessage& message : frame.messages) {
        text += "message " + std::to_string(message.msg) + " " + std::to_string(message.wParam) + " " +
                std::to_string(message.lParam) + "\n";
    }
    if (frame.mouseSignalled) {
        text += "mouse " + std::to_string(frame.mouse.dx) + " " + std::to_string(frame.mouse.dy) +
                (frame.mouse.left ? " left" : "") + (frame.mouse.right ? " right" : "") + "\n";
    }
    return text;
}
