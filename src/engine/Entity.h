#pragma once

#include "foundation/string/DStr.h"

#include <optional>

namespace zentrix {

class CViewport;

/// A node of the engine's frame tree: a named position in its parent's space with a cached world
/// matrix. The tree owns its nodes: a node deletes its whole subtree, and deleting a node first unlinks
/// it from its parent, so a node may also be deleted by whoever made it (a mesh by its world object).
/// A node created without an owner, or taken out with Detach, belongs to the caller until it is added
/// to a parent again. Matrices follow the engine maths: row vectors, translation in elements 12 to 14.
class CEntity {
public:
    /// What GetType answers.
    enum Kind { kKindEntity = 0, kKindFrame = 1, kKindMesh = 2 };

    /// A root node at the origin with no name.
    CEntity();
    /// A node that becomes the owner's first child (and is owned by it); a null owner makes a root.
    explicit CEntity(CEntity* owner);
    /// Unlinks the node from its parent and deletes its whole subtree.
    virtual ~CEntity();

    CEntity(const CEntity&) = delete;
    CEntity& operator=(const CEntity&) = delete;

    /// A copy of this node and its subtree, made the first child of newParent (a root owned by the
    /// caller when newParent is null). The copy lists the children in reverse order.
    virtual CEntity* Clone(CEntity* newParent, void* unused = nullptr);
    /// Nothing itself; with the flag set, the same call on every child.
    virtual void RecursiveHook(bool flag);
    /// Nothing itself; when recursive, the same call on every child.
    virtual void SortFaces(bool recursive);
    /// The node's kind (Kind).
    virtual int GetType() const { return kKindEntity; }
    /// Places the node so that its position, seen from the reference frame, is (x, y, z).
    virtual void SetPositionRelative(const CEntity* reference, float x, float y, float z);
    /// Sets the position in the parent's space.
    virtual void SetPosition(float x, float y, float z);
    /// Places the node so that its position seen from the reference frame (null: world space; otherwise
    /// an ancestor) is the given one; nothing but invalidation when the chain cannot be inverted.
    virtual void SetPositionRelative(const CEntity* reference, const float* position);
    /// Sets the position in the parent's space from three floats.
    virtual void SetPositionVector(const float* position);
    /// The node's position seen from the reference frame (null: world space).
    virtual void GetPositionRelative(const CEntity* reference, float* out) const;
    /// The position in the parent's space; returns out.
    virtual float* GetPosition(float* out) const;
    /// The local matrix when the reference is the parent, otherwise the world matrix (cached when up
    /// to date, else composed from the parent's).
    virtual void GetMatrixRelative(float* out, const CEntity* reference) const;
    /// The matrix of the node in its parent's space; returns out.
    virtual float* GetLocalMatrix(float* out) const;
    /// The cached world matrix.
    virtual void GetMatrix(float* out) const;
    /// m := m x local.
    virtual void PostMultiplyLocal(float* m) const;
    /// m := local x m.
    virtual void PreMultiplyLocal(float* m) const;
    /// Marks this node's cached matrix out of date.
    virtual void Invalidate() { m_valid = false; }
    /// False when this node or an ancestor up to and including the reference (null: the root) is out
    /// of date.
    virtual bool IsValidUpTo(const CEntity* reference) const;
    /// Whether the cached matrix is up to date.
    virtual bool IsValid() const { return m_valid; }
    /// The draw pass: brings the world matrix up to date, then the same pass on every child.
    virtual void Render(CViewport* view, bool useCache);
    /// The preparation pass before drawing: the same matrix update and walk as Render.
    virtual void Prepare(CViewport* view, bool useCache);
    /// Nothing itself; when recursive, the same call on every child.
    virtual void SetAnimFrame(float frame, bool recursive);
    /// Nothing itself; the same call on every child.
    virtual void PrecomputeFrames();

    /// Stores a copy of the name (null removes it).
    void SetName(const char* name);
    /// The name, or null when the node has none.
    const char* GetName() const { return m_name ? m_name->c_str() : nullptr; }

    /// Makes the child this node's first child, taking it from its old parent; a child without a parent
    /// is handed over by the caller, who gives up its ownership.
    void AddChild(CEntity* child);
    /// Takes the node out of its parent's child list; the caller then owns it. Invalidates it always.
    static void Detach(CEntity* node);
    /// The first node named exactly so in a pre-order walk of this subtree; null for a null name.
    CEntity* FindFrame(const char* name);

    CEntity* GetParent() const { return m_parent; }
    CEntity* GetFirstChild() const { return m_firstChild; }
    CEntity* GetNextSibling() const { return m_nextSibling; }

    /// Set by the visibility test of the preparation pass: the node draws nothing itself.
    bool IsCulled() const { return m_culled; }
    void SetCulled(bool culled) { m_culled = culled; }

protected:
    /// Brings the cached world matrix up to date for a pass; returns the use-cache flag for the children.
    bool UpdateWorldMatrix(bool useCache);
    /// The product of the ancestors' local matrices from the parent up to, not including, the reference
    /// (or up to the root when the reference is null or not an ancestor).
    void GetChainMatrix(const CEntity* reference, float* out) const;
    /// Copies name and position into a fresh copy, clones the children under it and invalidates it.
    void FinishClone(CEntity* copy) const;

    float m_position[3] = {0.0f, 0.0f, 0.0f};
    float m_matrix[16];
    bool m_valid = false;
    bool m_culled = false;

private:
    void Link(CEntity* parent);
    void Unlink();

    std::optional<CDStr> m_name;
    CEntity* m_firstChild = nullptr;
    CEntity* m_nextSibling = nullptr;
    CEntity* m_parent = nullptr;
};

} // namespace zentrix
