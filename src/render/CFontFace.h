#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

// The GUI font: "Verdana" where fontconfig finds it, else DejaVu Sans. Glyphs
// are set without antialiasing, so every pixel is either text or background.
class CFontFace {
public:
    struct Extent {
        int width = 0;
        int height = 0;
    };

    // Throws CADVException when neither face is installed.
    CFontFace();
    ~CFontFace();
    CFontFace(const CFontFace&) = delete;
    CFontFace& operator=(const CFontFace&) = delete;

    const std::string& Family() const { return m_family; }

    // Font heights: negative is the character height in pixels, positive the
    // whole cell (ascent and descent), 0 a default size.
    // Width: the sum of the advances; height: the cell height. Line text is
    // 8-bit Windows-1252; control characters take no room.
    Extent MeasureLine(std::string_view line, int fontHeight);
    // Sets `pixel` at every covered pixel of the line whose top-left corner
    // is (0, top) in the top-down image of `width` pixels a row; what falls
    // outside the image is dropped.
    void DrawLine(std::string_view line, int fontHeight, int top, std::uint32_t pixel,
                  std::span<std::uint32_t> image, int width);

private:
    struct Library;
    void SelectHeight(int fontHeight);
    // Code points the line shows, in order.
    std::u16string Shown(std::string_view line) const;

    std::unique_ptr<Library> m_library;
    std::string m_family;
    int m_selectedHeight = 0;
    int m_ascent = 0;
    int m_descent = 0;
};
