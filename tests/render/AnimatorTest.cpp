#include "render/Animator.h"
#include "engine/Frame.h"
#include "render/AnimTextures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;

namespace {

TEST(AnimatorTest, TextGrammar) {
    struct Case {
        const char* text;
        int id; // -1: no animator
        float start, end, length;
        int loops;
        bool pingPong;
        int chain;
        std::size_t texAnims;
    };
    const Case cases[] = {
        {"(ANIM_ID=0,START=1,END=9,LENGTH=4)", 0, 1, 9, 4, 0, false, -1, 0},
        {"junk (XSTARTX=2,END=3,LENGTH=1,ANIM_ID=2) junk", 2, 2, 3, 1, 0, false, -1, 0},
        {"(ANIM_ID=1,START=0,END=20,LENGTH=30,NUM_LOOPS=2,PINGPONG=0,CHAIN=0,TEXANIM=[201-202-203])", 1, 0,
         20, 30, 2, true, 0, 1},
        {"(ANIM_ID=0,START=0,END=1,LENGTH=1,TEXANIM=[201],TEXANIM = [ 5 - 6 ],NOEQUALS)", 0, 0, 1, 1, 0,
         false, -1, 1},
        {"(ANIM_ID=3,START=0,END=5,LENGTH=5", 3, 0, 5, 5, 0, false, -1, 0},   // no ")": to the end
        {"(START=0,END=5,LENGTH=5)", -1, 0, 0, 0, 0, false, -1, 0},           // no ANIM_ID
        {"(ANIM_ID=0,START=0,END=5,LENGTH=0)", -1, 0, 0, 0, 0, false, -1, 0}, // no length
        {"(ANIM_ID=0,START=5,END=4,LENGTH=1)", -1, 0, 0, 0, 0, false, -1, 0}, // backward
        {"(ANIM_ID=-2,START=0,END=5,LENGTH=5)(ANIM_ID=1024,START=0,END=5,LENGTH=5)", -1, 0, 0, 0, 0, false,
         -1, 0},
        {"(ANIM_ID=0,START=0,END=INF,LENGTH=5)(ANIM_ID=0,START=NAN,END=5,LENGTH=5)", -1, 0, 0, 0, 0, false,
         -1, 0},
        {"", -1, 0, 0, 0, 0, false, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto animator = CAnimator::Build(c.text);
        ASSERT_EQ(animator != nullptr, c.id >= 0);
        if (!animator)
            continue;
        const auto& table = animator->GetTable();
        ASSERT_EQ(table.size(), static_cast<std::size_t>(c.id) + 2); // one empty entry after the highest
        EXPECT_EQ(table.back(), nullptr);
        const CAnimator::CAnim& a = *table[c.id];
        EXPECT_EQ(a.GetAnimId(), c.id);
        EXPECT_EQ(a.GetStart(), c.start);
        EXPECT_EQ(a.GetEnd(), c.end);
        EXPECT_EQ(a.GetLength(), c.length);
        EXPECT_EQ(a.GetNumLoops(), c.loops);
        EXPECT_EQ(a.IsPingPong(), c.pingPong);
        EXPECT_EQ(a.GetChain(), c.chain);
        EXPECT_EQ(a.GetFrame(), c.start);
        EXPECT_EQ(const_cast<CAnimator::CAnim&>(a).TexAnims().size(), c.texAnims);
    }
    // Every prefix of a text reads without harm; a group cut inside its numbers may still be valid.
    const CDStr full = cases[2].text;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        auto animator = CAnimator::Build(full.substr(0, n));
        if (animator && animator->StartAnim(1))
            EXPECT_FALSE(std::isnan(animator->Update(1.0f))) << n;
    }
}

/// Updates at 30 frames per second until the animation ends or stops; the count, or -1 past 1000.
int UpdatesToFinish(CAnimator& animator, std::vector<float>* frames = nullptr) {
    for (int n = 1; n <= 1000; ++n) {
        const float f = animator.Update(1.0f);
        if (frames)
            frames->push_back(f);
        if (animator.GetCurrentAnimId() < 0)
            return n;
    }
    return -1;
}

TEST(AnimatorTest, TimingOfPassesLoopsAndPingPong) {
    struct Case {
        const char* text;
        int updates;
    };
    const Case cases[] = {
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0)", 10},
        {"(START=0,END=10,LENGTH=5,ANIM_ID=0)", 5},
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,NUM_LOOPS=2)", 20},
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,NUM_LOOPS=2,PINGPONG=1)", 40},
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,PINGPONG=1)", 10}, // no loops: ping-pong unused
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,CHAIN=0)", -1},    // repeats itself
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,CHAIN=1)(START=0,END=4,LENGTH=4,ANIM_ID=1)", 14},
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,CHAIN=7)", 10}, // chain to nothing ends
        {"(START=0,END=10,LENGTH=10,ANIM_ID=0,NUM_LOOPS=-1)", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto animator = CAnimator::Build(c.text);
        ASSERT_NE(animator, nullptr);
        ASSERT_TRUE(animator->StartAnim(0));
        std::vector<float> frames;
        EXPECT_EQ(UpdatesToFinish(*animator, &frames), c.updates);
    }
}

TEST(AnimatorTest, FramesOfALoopAndAPingPong) {
    auto loop = CAnimator::Build("(ANIM_ID=0,START=2,END=5,LENGTH=3,NUM_LOOPS=2)");
    auto pingPong = CAnimator::Build("(ANIM_ID=0,START=2,END=5,LENGTH=3,NUM_LOOPS=1,PINGPONG=1,PINGPONG)");
    ASSERT_TRUE(loop->StartAnim(0) && pingPong->StartAnim(0));
    std::vector<float> loopFrames, pingPongFrames;
    UpdatesToFinish(*loop, &loopFrames);
    UpdatesToFinish(*pingPong, &pingPongFrames);
    EXPECT_EQ(loopFrames, (std::vector<float>{3, 4, 2, 3, 4, 2}));
    EXPECT_EQ(pingPongFrames, (std::vector<float>{3, 4, 5, 4, 3, 2}));
}

TEST(AnimatorTest, StartStopAndMissingAnimations) {
    auto animator = CAnimator::Build("(ANIM_ID=1,START=0,END=10,LENGTH=10)");
    ASSERT_NE(animator, nullptr);
    EXPECT_EQ(animator->Update(1.0f), 0.0f); // not started: nothing to advance
    EXPECT_FALSE(animator->StartAnim(0));
    EXPECT_FALSE(animator->StartAnim(2));
    EXPECT_FALSE(animator->StartAnim(-1));
    EXPECT_EQ(animator->GetCurrentAnimId(), -1);
    ASSERT_TRUE(animator->StartAnim(1));
    EXPECT_EQ(animator->Update(2.0f), 2.0f);
    animator->Stop();
    EXPECT_EQ(animator->Update(1.0f), 2.0f);
    animator->Resume();
    EXPECT_EQ(animator->Update(1.0f), 3.0f);
    EXPECT_FALSE(animator->StartAnim(5));
    EXPECT_EQ(animator->GetCurrentFrame(), 3.0f);
}

/// Textures are their ids; every swap is noted.
class RecordingTextures final : public IAnimTextures {
public:
    CTexture* GetTexture(int id) override {
        return id == missing ? nullptr : reinterpret_cast<CTexture*>(static_cast<std::intptr_t>(id));
    }
    void ReplaceTexture(CEntity* mesh, CTexture* from, CTexture* to) override {
        swaps.push_back({mesh, static_cast<int>(reinterpret_cast<std::intptr_t>(from)),
                         static_cast<int>(reinterpret_cast<std::intptr_t>(to))});
    }
    struct Swap {
        CEntity* mesh;
        int from, to;
        bool operator==(const Swap&) const = default;
    };
    std::vector<Swap> swaps;
    int missing = -1;
};

/// A frame that answers as a mesh does.
class MeshLike : public CFrame {
public:
    using CFrame::CFrame;
    int GetType() const override { return kKindMesh; }
};

TEST(AnimatorTest, TextureSwapsFollowTheIndex) {
    RecordingTextures textures;
    auto animator = CAnimator::Build("(ANIM_ID=0,START=0,END=9,LENGTH=9,TEXANIM=[201-202-203])", &textures);
    ASSERT_NE(animator, nullptr);
    MeshLike root;
    auto* child = new MeshLike(&root);
    new CFrame(&root);   // not a mesh: not bound
    new MeshLike(child); // a grandchild: not bound
    animator->BindFrames(&root);
    animator->BindFrames(&root); // binding again does not bind twice
    ASSERT_TRUE(animator->StartAnim(0));
    UpdatesToFinish(*animator);
    using S = RecordingTextures::Swap;
    const std::vector<S> expected{{&root, 201, 202}, {child, 201, 202}, {&root, 202, 203}, {child, 202, 203}};
    EXPECT_EQ(textures.swaps, expected);

    // A missing texture changes nothing, and the swap is tried again on the next update.
    textures.swaps.clear();
    textures.missing = 202;
    auto again = CAnimator::Build("(ANIM_ID=0,START=0,END=9,LENGTH=9,TEXANIM=[201-202-203])", &textures);
    again->BindFrames(&root);
    ASSERT_TRUE(again->StartAnim(0));
    for (int i = 0; i < 7; ++i)
        again->Update(1.0f);
    ASSERT_EQ(textures.swaps.size(), 2u);
    EXPECT_EQ(textures.swaps[0], (S{&root, 201, 203}));

    // A range of no length keeps the first texture.
    textures.swaps.clear();
    auto flat = CAnimator::Build("(ANIM_ID=0,START=4,END=4,LENGTH=1,TEXANIM=[1-2],NUM_LOOPS=3)", &textures);
    flat->BindFrames(&root);
    ASSERT_TRUE(flat->StartAnim(0));
    UpdatesToFinish(*flat);
    EXPECT_TRUE(textures.swaps.empty());
}

} // namespace
