#pragma once

#include "foundation/string/DStr.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CEntity;
class IAnimTextures;

/// Plays the key-frame animations of one world object's mesh, read from the object's animation text:
/// parenthesised groups of KEY=VALUE pairs such as
/// (ANIM_ID=1,START=0,END=20,LENGTH=30,NUM_LOOPS=2,PINGPONG=1,CHAIN=0,TEXANIM=[201-202-203]).
class CAnimator {
public:
    /// Animation numbers run 0 to this, exclusive.
    static constexpr int kMaxAnimId = 1024;

    /// Face textures that take turns as an animation's frame advances.
    struct CTexAnim {
        std::vector<CEntity*> meshes; ///< bound meshes (not owned)
        std::vector<int> ids;         ///< texture asset ids, at least two
        int current = 0;              ///< index of the texture the meshes show now
    };

    /// One animation: a frame range played over a length, once, looped or back and forth, then the
    /// animation it chains to.
    class CAnim {
    public:
        CAnim();
        virtual ~CAnim();
        CAnim(const CAnim&) = delete;
        CAnim& operator=(const CAnim&) = delete;

        /// The animation of one group's text; null when the group is not a valid animation.
        static std::unique_ptr<CAnim> Parse(const CDStr& group);
        /// Sets the field a key names to the value.
        void SetValue(const CDStr& key, const CDStr& value);
        /// A number within 0..kMaxAnimId, a finite range not running backward and a positive length.
        bool IsValid() const;
        /// Back to START, forward, no passes made, not finished.
        void Reset();
        /// Advances by the step times the frame factor (30 / frames per second), applies the end rule,
        /// then steps the texture animations through `textures` (none: no texture changes).
        void Update(float frameFactor, IAnimTextures* textures);

        bool IsFinished() const { return m_finished; }
        int GetChain() const { return m_chain; }
        int GetAnimId() const { return m_animId; }
        float GetFrame() const { return m_frame; }
        float GetStart() const { return m_start; }
        float GetEnd() const { return m_end; }
        float GetLength() const { return m_length; }
        int GetNumLoops() const { return m_numLoops; }
        bool IsPingPong() const { return m_pingPong; }
        std::vector<CTexAnim>& TexAnims() { return m_texAnims; }

        /// How many animations exist.
        static int LiveCount() { return s_liveCount; }

    private:
        void StepTexture(CTexAnim& texAnim, IAnimTextures* textures);

        static inline int s_liveCount = 0;

        int m_animId = -1;
        float m_start = -1.0f;
        float m_end = -1.0f;
        float m_length = -1.0f;
        float m_step = 0.0f;
        float m_frame = -1.0f;
        bool m_finished = false;
        int m_chain = -1;
        int m_numLoops = 0;
        int m_loopCount = 0;
        bool m_pingPong = false;
        bool m_reverse = false;
        std::vector<CTexAnim> m_texAnims;
    };

    /// An animator without animations, changing textures through `textures` (may be null).
    explicit CAnimator(IAnimTextures* textures = nullptr);
    virtual ~CAnimator();
    CAnimator(const CAnimator&) = delete;
    CAnimator& operator=(const CAnimator&) = delete;

    /// The animator of an animation text; null when no group is a valid animation.
    static std::unique_ptr<CAnimator> Build(const CDStr& text, IAnimTextures* textures = nullptr);
    /// Stores the animation at its number, replacing one stored there before.
    void AddAnim(std::unique_ptr<CAnim> anim);
    /// Makes animation `id` current from its start; false (the current one kept) when there is none.
    bool StartAnim(int id);
    void Stop() { m_stopped = true; }
    void Resume() { m_stopped = false; }
    bool IsStopped() const { return m_stopped; }
    /// Advances the current animation unless stopped, follows its chain when it finishes, and returns
    /// the last frame value.
    float Update(float frameFactor);
    /// The current animation's number, -1 when none.
    int GetCurrentAnimId() const;
    /// The current animation's frame value, -1 when none.
    float GetCurrentFrame() const;
    /// Binds the mesh frames among `root` and its direct children to every texture animation.
    void BindFrames(CEntity* root);
    /// The table by animation number (entries may be empty).
    const std::vector<std::unique_ptr<CAnim>>& GetTable() const { return m_table; }

    /// How many animators exist.
    static int LiveCount() { return s_liveCount; }

private:
    static inline int s_liveCount = 0;

    std::vector<std::unique_ptr<CAnim>> m_table;
    CAnim* m_current = nullptr;
    bool m_stopped = false;
    float m_lastFrame = 0.0f;
    IAnimTextures* m_textures;
};

} // namespace zentrix
