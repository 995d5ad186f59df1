#pragma once

#include "render/gui/CGuiComponent.h"

#include <cstdint>

class CGuiComponentFrame;

// A bar filled from the left to its value (0 to 100): two borderless frames,
// filled and empty, that it keeps laid out.
class CGuiComponentProgress : public CGuiComponent {
public:
    explicit CGuiComponentProgress(CGuiComponent& parent);

    void SetRect(int left, int top, int right, int bottom) override;

    // Below 1 counts as 0, above 99 as 100.
    void SetValue(int value);
    int Value() const { return m_value; }
    void SetColours(std::uint32_t filled, std::uint32_t empty);
    // Takes the value from a point on the bar; points beside it change nothing.
    void SetValueAt(int x, int y);

    CGuiComponentFrame& Filled() const { return *m_filled; }
    CGuiComponentFrame& Empty() const { return *m_empty; }

private:
    CGuiComponentFrame* m_filled;
    CGuiComponentFrame* m_empty;
    int m_value = 50;
};
