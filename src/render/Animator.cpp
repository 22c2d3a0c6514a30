#include "render/Animator.h"

#include "engine/Entity.h"
#include "render/AnimTextures.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

/// The leading number of a text as a float, 0 when there is none.
float LeadingFloat(const CDStr& text) {
    return std::strtof(text.c_str(), nullptr);
}

/// The leading number of a text as an int, 0 when there is none; values beyond the range saturate.
int LeadingInt(const CDStr& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

/// Each group's text, from just after a "(" to the next ")" or the end.
std::vector<CDStr> Groups(const CDStr& text) {
    std::vector<CDStr> groups;
    std::size_t pos = text.find('(');
    while (pos != CDStr::npos) {
        const std::size_t end = text.find(')', pos + 1);
        groups.push_back(text.substr(pos + 1, end == CDStr::npos ? CDStr::npos : end - pos - 1));
        if (end == CDStr::npos)
            break;
        pos = text.find('(', end + 1);
    }
    return groups;
}

} // namespace

CAnimator::CAnim::CAnim() {
    ++s_liveCount;
}

CAnimator::CAnim::~CAnim() {
    --s_liveCount;
}

std::unique_ptr<CAnimator::CAnim> CAnimator::CAnim::Parse(const CDStr& group) {
    auto anim = std::make_unique<CAnim>();
    for (const CDStr& pair : Split(group, ',')) {
        const std::size_t eq = pair.find('=');
        // A pair without a value names nothing to set.
        if (eq == CDStr::npos)
            continue;
        anim->SetValue(pair.substr(0, eq), pair.substr(eq + 1));
    }
    anim->m_step = (anim->m_end - anim->m_start) / anim->m_length;
    if (!anim->IsValid())
        return nullptr;
    anim->Reset();
    return anim;
}

void CAnimator::CAnim::SetValue(const CDStr& key, const CDStr& value) {
    auto has = [&key](const char* word) { return key.find(word) != CDStr::npos; };
    if (has("START")) {
        m_start = LeadingFloat(value);
    } else if (has("END")) {
        m_end = LeadingFloat(value);
    } else if (has("LENGTH")) {
        m_length = LeadingFloat(value);
    } else if (has("ANIM_ID")) {
        m_animId = LeadingInt(value);
    } else if (has("NUM_LOOPS")) {
        m_numLoops = LeadingInt(value);
    } else if (has("PINGPONG")) {
        m_pingPong = true;
    } else if (has("CHAIN")) {
        m_chain = LeadingInt(value);
    } else if (has("TEXANIM")) {
        CDStr list = value;
        RemoveChars(list, " \t\n\rTEXANIM[]");
        const std::list<int> ids = SplitToInts(list, '-');
        if (ids.size() >= 2)
            m_texAnims.push_back({{}, std::vector<int>(ids.begin(), ids.end()), 0});
    }
}

bool CAnimator::CAnim::IsValid() const {
    // A length of 0 or a range beyond the float range would make the step infinite or not a number.
    return m_animId >= 0 && m_animId < kMaxAnimId && m_start >= 0.0f && m_end >= m_start &&
           std::isfinite(m_end) && m_length > 0.0f && std::isfinite(m_length) && std::isfinite(m_step);
}

void CAnimator::CAnim::Reset() {
    m_frame = m_start;
    m_loopCount = 0;
    m_reverse = false;
    m_finished = false;
}

void CAnimator::CAnim::Update(float frameFactor, IAnimTextures* textures) {
    if (m_finished)
        return;
    const float d = m_step * frameFactor;
    m_frame = m_reverse ? m_frame - d : m_frame + d;
    if (m_numLoops == 0) {
        if (m_frame >= m_end)
            m_finished = true;
    } else if (!m_pingPong) {
        if (m_frame >= m_end) {
            ++m_loopCount;
            m_frame = m_start;
            if (m_loopCount == m_numLoops)
                m_finished = true;
        }
    } else if (!m_reverse) {
        if (m_frame >= m_end) {
            m_frame = m_end;
            m_reverse = true;
        }
    } else if (m_frame <= m_start) {
        m_frame = m_start;
        m_reverse = false;
        ++m_loopCount;
        if (m_loopCount == m_numLoops)
            m_finished = true;
    }
    for (CTexAnim& texAnim : m_texAnims)
        StepTexture(texAnim, textures);
}

void CAnimator::CAnim::StepTexture(CTexAnim& texAnim, IAnimTextures* textures) {
    const int count = static_cast<int>(texAnim.ids.size());
    const float per = (m_end - m_start) / static_cast<float>(count);
    // The frame value itself is divided, not its distance from START. A range of no length shows the
    // first texture; the quotient is kept inside the list before it becomes an index.
    int index = 0;
    if (per > 0.0f) {
        const float q = m_frame / per;
        index = q >= static_cast<float>(count - 1) ? count - 1 : q > 0.0f ? static_cast<int>(q) : 0;
    }
    if (index == texAnim.current || !textures)
        return;
    CTexture* newTexture = textures->GetTexture(texAnim.ids[index]);
    CTexture* oldTexture = textures->GetTexture(texAnim.ids[texAnim.current]);
    if (!newTexture || !oldTexture)
        return;
    for (CEntity* mesh : texAnim.meshes)
        textures->ReplaceTexture(mesh, oldTexture, newTexture);
    texAnim.current = index;
}

CAnimator::CAnimator(IAnimTextures* textures) : m_textures(textures) {
    ++s_liveCount;
}

CAnimator::~CAnimator() {
    --s_liveCount;
}

std::unique_ptr<CAnimator> CAnimator::Build(const CDStr& text, IAnimTextures* textures) {
    std::unique_ptr<CAnimator> animator;
    for (const CDStr& group : Groups(text)) {
        std::unique_ptr<CAnim> anim = CAnim::Parse(group);
        if (!anim)
            continue;
        if (!animator)
            animator = std::make_unique<CAnimator>(textures);
        animator->AddAnim(std::move(anim));
    }
    return animator;
}

void CAnimator::AddAnim(std::unique_ptr<CAnim> anim) {
    const int id = anim->GetAnimId();
    if (id < 0 || id >= kMaxAnimId)
        return;
    // The table keeps one empty entry past the highest number, as animations added in order leave it.
    const std::size_t wanted = static_cast<std::size_t>(id) + 2;
    if (m_table.size() < wanted)
        m_table.resize(wanted);
    if (m_table[id].get() == m_current)
        m_current = nullptr;
    m_table[id] = std::move(anim);
}

bool CAnimator::StartAnim(int id) {
    if (id < 0 || static_cast<std::size_t>(id) >= m_table.size() || !m_table[id])
        return false;
    if (m_current)
        m_current->Reset();
    m_current = m_table[id].get();
    m_current->Reset();
    return true;
}

float CAnimator::Update(float frameFactor) {
    if (m_stopped || !m_current)
        return m_lastFrame;
    m_current->Update(frameFactor, m_textures);
    m_lastFrame = m_current->GetFrame();
    if (m_current->IsFinished()) {
        const int chain = m_current->GetChain();
        // A chain to a number without an animation ends the play as no chain does.
        if (chain < 0 || static_cast<std::size_t>(chain) >= m_table.size() || !m_table[chain]) {
            m_current = nullptr;
            m_stopped = true;
        } else {
            m_current = m_table[chain].get();
            m_current->Reset();
        }
    }
    return m_lastFrame;
}

int CAnimator::GetCurrentAnimId() const {
    return m_current ? m_current->GetAnimId() : -1;
}

float CAnimator::GetCurrentFrame() const {
    return m_current ? m_current->GetFrame() : -1.0f;
}

void CAnimator::BindFrames(CEntity* root) {
    for (auto& anim : m_table)
        if (anim)
            for (CTexAnim& texAnim : anim->TexAnims())
                texAnim.meshes.clear();
    if (!root)
        return;
    auto bind = [this](CEntity* frame) {
        if (frame->GetType() != CEntity::kKindMesh)
            return;
        for (auto& anim : m_table)
            if (anim)
                for (CTexAnim& texAnim : anim->TexAnims())
                    texAnim.meshes.push_back(frame);
    };
    bind(root);
    for (CEntity* child = root->GetFirstChild(); child; child = child->GetNextSibling())
        bind(child);
}

} // namespace zentrix
