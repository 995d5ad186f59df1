#pragma once

#include "render/gui/GuiVertex.h"

#include <memory>
#include <utility>
#include <vector>

class CGuiRenderer;
class DDevice;
class DTexture;

// A node of the GUI tree: a rectangle relative to its parent, a visible flag
// that hides the whole subtree, and the quads it wrote into the GUI buffer at
// the last rebuild. The root is sized to the back buffer; everything else is
// made with CreateChild and owned by its parent.
class CGuiComponent {
public:
    // The root of a tree: it owns the GUI renderer that the whole tree draws
    // through, on `device`.
    explicit CGuiComponent(DDevice& device);
    // A component under `parent`; made through parent.CreateChild, which also
    // enters it among the parent's children.
    explicit CGuiComponent(CGuiComponent& parent);
    virtual ~CGuiComponent();
    CGuiComponent(const CGuiComponent&) = delete;
    CGuiComponent& operator=(const CGuiComponent&) = delete;

    // Appends a new T(*this, args...) to the children, marked changed.
    template <class T, class... Args> T& CreateChild(Args&&... args) {
        auto child = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& made = *child;
        m_children.push_back(std::move(child));
        made.MarkChanged();
        return made;
    }
    // Deletes the child and its subtree; others are ignored.
    void DeleteChild(const CGuiComponent* child);
    void DeleteChildren();
    const std::vector<std::unique_ptr<CGuiComponent>>& Children() const { return m_children; }
    CGuiComponent* Parent() const { return m_parent; }

    // Rectangle relative to the parent's top-left corner.
    virtual void SetRect(int left, int top, int right, int bottom);
    // Writes this component's quads, then its children's.
    virtual void UpdateVB();

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Right() const { return m_right; }
    int Bottom() const { return m_bottom; }
    int Width() const { return m_right - m_left; }
    int Height() const { return m_bottom - m_top; }
    int AbsoluteLeft() const;
    int AbsoluteTop() const;
    // Edges included.
    bool HitTest(int x, int y) const;

    // Drawing skips hidden subtrees, so this needs no rebuild.
    void SetVisible(bool visible) { m_visible = visible; }
    bool IsVisible() const { return m_visible; }

    // Marks this component and every ancestor for the next rebuild.
    void MarkChanged();
    bool NeedsRebuild() const { return m_changed; }

    // Device lost: every texture of the subtree goes; generated ones come
    // back at the next rebuild.
    void InvalidateTextures();
    bool TextureInvalid() const { return m_textureInvalid; }

    int FirstVertex() const { return m_firstVertex; }
    int VertexCount() const { return m_vertexCount; }
    const DTexture* Texture() const { return m_texture.get(); }

    // The tree's renderer: the root draws the tree with Gui().GUI2_Update(root).
    CGuiRenderer& Gui() { return m_gui; }

protected:
    // Takes `count` vertices of a region as this component's quads.
    std::uint8_t* AllocVertices(int count, bool textured);
    void SetVertexCount(int count) { m_vertexCount = count; }
    // One quad of this component's texture, untinted (colours 0x00FFFFFF).
    void WriteTexturedQuad(const GuiCorners& corners, const GuiCorners& uvs);
    // The texture's own release; components that can rebuild its content
    // save it first.
    virtual void ReleaseTexture();

    std::unique_ptr<DTexture> m_texture;
    bool m_textureInvalid = false;

private:
    friend class CGuiRenderer;

    // Set in the root only; declared before the children, which go first.
    std::unique_ptr<CGuiRenderer> m_ownedGui;
    CGuiRenderer& m_gui;
    CGuiComponent* m_parent = nullptr;
    std::vector<std::unique_ptr<CGuiComponent>> m_children;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    bool m_visible = true;
    bool m_changed = true;
    int m_firstVertex = 0;
    int m_vertexCount = 0;
};
