#include "engine/Entity.h"
#include "engine/Frame.h"
#include "foundation/math/EngineMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace zentrix;

namespace {

void ExpectVector(const float* actual, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual[0], x, tolerance);
    EXPECT_NEAR(actual[1], y, tolerance);
    EXPECT_NEAR(actual[2], z, tolerance);
}

/// The children of a node in list order.
std::vector<CEntity*> Children(const CEntity& node) {
    std::vector<CEntity*> out;
    for (CEntity* c = node.GetFirstChild(); c; c = c->GetNextSibling())
        out.push_back(c);
    return out;
}

/// A frame that counts how often its world matrix is composed from its parent's.
class CountingFrame : public CFrame {
public:
    using CFrame::CFrame;
    void PreMultiplyLocal(float* m) const override {
        ++composed;
        CFrame::PreMultiplyLocal(m);
    }
    mutable int composed = 0;
};

/// A node that notes its destruction.
class NotingEntity : public CEntity {
public:
    NotingEntity(CEntity* owner, int* deaths) : CEntity(owner), m_deaths(deaths) {}
    ~NotingEntity() override { ++*m_deaths; }

private:
    int* m_deaths;
};

TEST(FrameTree, CloneListsChildrenInReverseAndKeepsKinds) {
    CFrame root;
    root.SetName("root");
    root.SetPosition(1, 2, 3);
    root.SetDirection(1, 0, 0);
    // New children go to the head, so adding C, B, A lists A, B, C.
    for (const char* name : {"C", "B", "A"})
        (new CFrame(&root))->SetName(name);
    new CEntity(Children(root)[0]);

    std::unique_ptr<CEntity> copy(root.Clone(nullptr));
    ASSERT_EQ(copy->GetType(), CEntity::kKindFrame);
    EXPECT_STREQ(copy->GetName(), "root");
    EXPECT_FALSE(copy->IsValid());
    float position[3];
    ExpectVector(copy->GetPosition(position), 1, 2, 3);
    float direction[3];
    static_cast<CFrame*>(copy.get())->GetDirection(direction);
    ExpectVector(direction, 1, 0, 0);

    const std::vector<CEntity*> clones = Children(*copy);
    ASSERT_EQ(clones.size(), 3u);
    EXPECT_STREQ(clones[0]->GetName(), "C");
    EXPECT_STREQ(clones[1]->GetName(), "B");
    EXPECT_STREQ(clones[2]->GetName(), "A");
    ASSERT_EQ(Children(*clones[2]).size(), 1u);
    EXPECT_EQ(Children(*clones[2])[0]->GetType(), CEntity::kKindEntity);
    // The original is untouched.
    EXPECT_STREQ(Children(root)[0]->GetName(), "A");
}

TEST(FrameTree, CloneUnderAParentBecomesItsFirstChild) {
    CEntity source, parent;
    parent.AddChild(new CEntity());
    CEntity* copy = source.Clone(&parent);
    EXPECT_EQ(parent.GetFirstChild(), copy);
    EXPECT_EQ(copy->GetParent(), &parent);
    EXPECT_EQ(Children(parent).size(), 2u);
}

TEST(FrameTree, AddChildMovesTheNodeBetweenParents) {
    CEntity first, second;
    auto* a = new CEntity(&first);
    auto* b = new CEntity(&first);
    auto* c = new CEntity(&first); // list: c, b, a
    second.AddChild(b);
    EXPECT_EQ(Children(first), (std::vector<CEntity*>{c, a}));
    EXPECT_EQ(Children(second), (std::vector<CEntity*>{b}));
    EXPECT_EQ(b->GetParent(), &second);
    EXPECT_FALSE(b->IsValid());
}

TEST(FrameTree, DeletingAMiddleNodeKeepsTheListAndFreesItsSubtree) {
    int deaths = 0;
    CEntity parent;
    auto* a = new NotingEntity(&parent, &deaths);
    auto* b = new NotingEntity(&parent, &deaths);
    new NotingEntity(b, &deaths);
    new NotingEntity(b, &deaths);
    auto* c = new NotingEntity(&parent, &deaths); // list: c, b, a
    delete b;
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(Children(parent), (std::vector<CEntity*>{c, a}));
    {
        CEntity owner;
        owner.AddChild(c);
        owner.AddChild(a);
    }
    EXPECT_EQ(deaths, 5);
    EXPECT_EQ(parent.GetFirstChild(), nullptr);
}

TEST(FrameTree, DetachHandsTheNodeBackAndInvalidatesIt) {
    CEntity parent;
    std::unique_ptr<CEntity> child(new CEntity(&parent));
    child->Render(nullptr, false);
    ASSERT_TRUE(child->IsValid());
    CEntity::Detach(child.get());
    EXPECT_EQ(parent.GetFirstChild(), nullptr);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_FALSE(child->IsValid());
    // Detaching a root only invalidates.
    child->Render(nullptr, false);
    CEntity::Detach(child.get());
    EXPECT_FALSE(child->IsValid());
}

TEST(FrameTree, WorldMatrixComposesLocalThenParent) {
    CFrame parent;
    parent.SetPosition(10, 0, 0);
    parent.SetDirection(-1, 0, 0); // turned a quarter to the left about y
    auto* child = new CFrame(&parent);
    child->SetPosition(0, 0, -2); // two units ahead of the parent
    auto* grandchild = new CEntity(child);
    grandchild->SetPosition(1, 0, 0);
    parent.Prepare(nullptr, true);

    float m[16];
    child->GetMatrix(m);
    ExpectVector(&m[12], 8, 0, 0);
    grandchild->GetMatrix(m);
    // The grandchild's local x is the parent's right axis, which faces -z in the world.
    ExpectVector(&m[12], 8, 0, -1);
    EXPECT_EQ(m[3], 0.0f);
    EXPECT_EQ(m[15], 1.0f);

    float world[3];
    grandchild->GetPositionRelative(nullptr, world);
    ExpectVector(world, 8, 0, -1);
    float relative[3];
    grandchild->GetPositionRelative(&parent, relative);
    ExpectVector(relative, 1, 0, -2);
}

TEST(FrameTree, RenderRecomputesOnlyInvalidatedSubtrees) {
    CountingFrame root;
    auto* moved = new CountingFrame(&root);
    auto* movedChild = new CountingFrame(moved);
    auto* sibling = new CountingFrame(&root);
    auto* siblingChild = new CountingFrame(sibling);
    root.Render(nullptr, true);
    for (const CountingFrame* f : {moved, movedChild, sibling, siblingChild})
        EXPECT_EQ(f->composed, 1);

    moved->SetPosition(0, 5, 0);
    EXPECT_FALSE(moved->IsValid());
    EXPECT_TRUE(movedChild->IsValid()); // only the moved node's flag is cleared
    root.Render(nullptr, true);
    EXPECT_EQ(moved->composed, 2);
    EXPECT_EQ(movedChild->composed, 2);
    EXPECT_EQ(sibling->composed, 1);
    EXPECT_EQ(siblingChild->composed, 1);
    float m[16];
    movedChild->GetMatrix(m);
    ExpectVector(&m[12], 0, 5, 0);

    // Without the cache every node is composed again.
    root.Prepare(nullptr, false);
    EXPECT_EQ(siblingChild->composed, 2);
}

TEST(FrameTree, IsValidUpToStopsAtTheReference) {
    CEntity root;
    auto* middle = new CEntity(&root);
    auto* leaf = new CEntity(middle);
    root.Render(nullptr, false);
    root.Invalidate();
    EXPECT_FALSE(leaf->IsValidUpTo(nullptr));
    EXPECT_FALSE(leaf->IsValidUpTo(&root));
    EXPECT_TRUE(leaf->IsValidUpTo(middle));
    middle->Invalidate();
    EXPECT_FALSE(leaf->IsValidUpTo(middle));
}

TEST(FrameTree, GetMatrixRelativeComposesWhenTheCacheIsStale) {
    CFrame root;
    root.SetDirection(0, 0, 1); // half a turn about y
    auto* child = new CFrame(&root);
    child->SetPosition(3, 0, 0);

    float m[16];
    child->GetMatrixRelative(m, &root); // the parent: the local matrix
    ExpectVector(&m[12], 3, 0, 0);
    child->GetMatrixRelative(m, nullptr); // stale: composed from the parent
    ExpectVector(&m[12], -3, 0, 0);
    EXPECT_FALSE(child->IsValid());

    root.Render(nullptr, true);
    root.SetPosition(0, 1, 0); // the cache is stale again; the composition sees the move
    child->GetMatrixRelative(m, nullptr);
    ExpectVector(&m[12], -3, 1, 0);
}

TEST(FrameTree, SetPositionRelativeRoundTripsAndLeavesTheCallerPoint) {
    CFrame root;
    root.SetPosition(5, -2, 7);
    root.SetOrientation(1, 1, 0, 0, 0, 1);
    auto* middle = new CFrame(&root);
    middle->SetPosition(-3, 4, 1);
    middle->SetDirection(0.3f, -1, 0.2f);
    auto* node = new CEntity(middle);

    struct Case {
        const CEntity* reference;
        const char* label;
    };
    for (const Case& c : {Case{nullptr, "world"}, Case{&root, "root"}, Case{middle, "parent"}}) {
        SCOPED_TRACE(c.label);
        const float wanted[3] = {2.5f, -1.25f, 6};
        float given[3] = {wanted[0], wanted[1], wanted[2]};
        node->SetPositionRelative(c.reference, given);
        ExpectVector(given, wanted[0], wanted[1], wanted[2], 0.0f);
        float back[3];
        node->GetPositionRelative(c.reference, back);
        ExpectVector(back, wanted[0], wanted[1], wanted[2]);
    }
    node->SetPositionRelative(middle, 1, 2, 3);
    float local[3];
    ExpectVector(node->GetPosition(local), 1, 2, 3);
}

TEST(FrameTree, RelativeOperationsWithAStrangerStopAtTheRoot) {
    CEntity root;
    root.SetPosition(1, 1, 1);
    auto* node = new CEntity(&root);
    CEntity stranger;
    node->SetPositionRelative(&stranger, 4, 4, 4);
    float local[3];
    ExpectVector(node->GetPosition(local), 3, 3, 3);
    float seen[3];
    node->GetPositionRelative(&stranger, seen);
    ExpectVector(seen, 4, 4, 4);
}

TEST(FrameTree, SingularChainLeavesPositionAndOrientation) {
    CFrame root;
    const float flat[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // y squashed to nothing
    root.SetMatrix(flat);
    auto* node = new CFrame(&root);
    node->SetPosition(1, 2, 3);
    node->SetDirection(1, 0, 0);
    node->SetPositionRelative(nullptr, 9, 9, 9);
    node->SetOrientationRelative(nullptr, 0, 0, 1, 0, 1, 0);
    float p[3], d[3];
    ExpectVector(node->GetPosition(p), 1, 2, 3);
    node->GetDirection(d);
    ExpectVector(d, 1, 0, 0);
    EXPECT_FALSE(node->IsValid());
}

TEST(FrameTree, OrientationEdgeCases) {
    CFrame frame;
    frame.SetDirection(0, 0, -1);
    float m[16];
    frame.GetLocalMatrix(m);
    float identity[16];
    IdentityMatrix(identity);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], identity[i]) << i;

    frame.SetOrientation(0, 2, 0, 0, 1, 0); // up parallel to the direction
    frame.GetLocalMatrix(m);
    ExpectVector(&m[0], 0, 0, 0, 0.0f);
    ExpectVector(&m[4], 0, 0, 0, 0.0f);
    ExpectVector(&m[8], 0, -1, 0, 0.0f);

    frame.SetOrientation(0, 0, 0, 0, 1, 0); // zero direction: no division
    frame.GetLocalMatrix(m);
    for (float v : m)
        EXPECT_FALSE(std::isnan(v));
}

TEST(FrameTree, OrientationRelativeToARotatedParent) {
    CFrame parent;
    parent.SetDirection(1, 0, 0); // looks along world +x
    parent.SetPosition(50, 0, 0); // translation plays no part in directions
    auto* child = new CFrame(&parent);
    child->SetDirection(0, 0, -1); // straight ahead of the parent

    float direction[3], up[3];
    child->GetOrientationRelative(nullptr, direction, up);
    ExpectVector(direction, 1, 0, 0);
    ExpectVector(up, 0, 1, 0);
    child->GetOrientation(direction, up);
    ExpectVector(direction, 0, 0, -1);

    // Asking to look along world +z from under the parent gives a local direction to its right.
    child->SetDirectionRelative(nullptr, 0, 0, 1);
    child->GetDirection(direction);
    ExpectVector(direction, 1, 0, 0);
    child->GetDirectionRelative(nullptr, direction);
    ExpectVector(direction, 0, 0, 1);

    child->SetOrientationRelative(&parent, 0, -1, 0, 0, 0, 1);
    child->GetOrientationRelative(&parent, direction, up);
    ExpectVector(direction, 0, -1, 0);
    ExpectVector(up, 0, 0, 1);
}

TEST(FrameTree, FindFrameSearchesPreOrderAndMatchesExactly) {
    CEntity root;
    root.SetName("root");
    auto* second = new CEntity(&root);
    second->SetName("wheel");
    auto* first = new CEntity(&root); // first in the list
    auto* unnamed = new CEntity(first);
    auto* deep = new CEntity(unnamed);
    deep->SetName("wheel");

    EXPECT_EQ(root.FindFrame("wheel"), deep); // the first subtree is searched before its sibling
    EXPECT_EQ(root.FindFrame("root"), &root);
    EXPECT_EQ(root.FindFrame("Wheel"), nullptr);
    EXPECT_EQ(root.FindFrame(nullptr), nullptr);
    EXPECT_EQ(root.FindFrame(""), nullptr);
    EXPECT_EQ(second->FindFrame("root"), nullptr); // only the subtree
    deep->SetName(nullptr);
    EXPECT_EQ(root.FindFrame("wheel"), second);
}

TEST(FrameTree, RecursiveOperationsReachEveryChildOnlyWhenAsked) {
    struct Hooked : CEntity {
        using CEntity::CEntity;
        void RecursiveHook(bool flag) override {
            ++hooks;
            CEntity::RecursiveHook(flag);
        }
        void SetAnimFrame(float frame, bool recursive) override {
            ++frames;
            CEntity::SetAnimFrame(frame, recursive);
        }
        int hooks = 0;
        int frames = 0;
    };
    Hooked root;
    auto* child = new Hooked(&root);
    auto* grandchild = new Hooked(child);
    root.RecursiveHook(false);
    root.SetAnimFrame(1.0f, false);
    EXPECT_EQ(child->hooks + child->frames, 0);
    root.RecursiveHook(true);
    root.SetAnimFrame(1.0f, true);
    EXPECT_EQ(grandchild->hooks, 1);
    EXPECT_EQ(grandchild->frames, 1);
}

} // namespace
