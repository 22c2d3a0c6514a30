// Builds an animator from arbitrary animation text and plays every animation it holds for a while: no
// crash, no frame value that is not a number, nothing read outside the texture lists.
#include "render/AnimTextures.h"
#include "render/Animator.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zentrix;

namespace {

class NoteTextures final : public IAnimTextures {
public:
    CTexture* GetTexture(int id) override {
        return id % 3 == 0 ? nullptr : reinterpret_cast<CTexture*>(this);
    }
    void ReplaceTexture(CEntity*, CTexture*, CTexture*) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    NoteTextures textures;
    auto animator = CAnimator::Build(CDStr(reinterpret_cast<const char*>(data), size), &textures);
    if (!animator)
        return 0;
    for (std::size_t id = 0; id < animator->GetTable().size(); ++id) {
        animator->Resume();
        animator->StartAnim(static_cast<int>(id));
        for (int i = 0; i < 64; ++i)
            if (std::isnan(animator->Update(1.7f)))
                std::abort();
    }
    return 0;
}
