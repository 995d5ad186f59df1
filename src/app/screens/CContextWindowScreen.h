#pragma once

#include <string>
#include <vector>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentList;
class CGuiComponentText;

// The window a right click opens at the cursor: a caption (the thing clicked
// on) and the entries (verbs) to choose from.
class CContextWindowScreen {
public:
    // Between the frame's edge and its content.
    static constexpr int kPadding = 8;
    // Between the caption and the first entry.
    static constexpr int kCaptionGap = 4;

    struct Rect {
        int left;
        int top;
        int right;
        int bottom;
        bool operator==(const Rect&) const = default;
    };

    // Built hidden and empty under `root`.
    explicit CContextWindowScreen(CGuiComponent& root);
    CContextWindowScreen(const CContextWindowScreen&) = delete;
    CContextWindowScreen& operator=(const CContextWindowScreen&) = delete;

    // Fills caption and entries in order, sizes the window to fit them and
    // shows it where it last was; PlaceAt then moves it to the cursor.
    void Open(const std::string& caption, const std::vector<std::string>& entries);
    void PlaceAt(int x, int y, int screenWidth, int screenHeight);
    // A window of w x h beside the cursor (x, y): right of and below it where
    // it fits, else left of or above it; then shifted back onto the screen,
    // ending at its right and bottom edges when it is larger than the screen.
    static Rect Placement(int x, int y, int w, int h, int screenWidth, int screenHeight);
    // Keeps the window where it is, shifted back onto a smaller screen.
    void Relayout(int screenWidth, int screenHeight);

    void Hide();
    bool Visible() const;
    // Screen pixels, edges included; false while hidden.
    bool Contains(int x, int y) const;

    // Highlights the entry under the point and none elsewhere; the cursor
    // calls this on every move, so an unchanged highlight costs nothing.
    void HighlightAt(int x, int y);
    // Empty when none.
    std::string HighlightedEntry() const;
    // The entry under the point, empty when none or while hidden.
    std::string EntryAt(int x, int y) const;

    const std::string& Caption() const;
    std::vector<std::string> Entries() const;
    int Width() const;
    int Height() const;

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentText& CaptionText() const { return m_caption; }
    const CGuiComponentList& List() const { return m_list; }

private:
    CGuiComponentFrame& m_frame;
    CGuiComponentText& m_caption;
    CGuiComponentList& m_list;
};
