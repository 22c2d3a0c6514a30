#pragma once

#include "frontend/HelpSound.h"

namespace zentrix {

/// The help channel of the application's game sound controller; silent while there is none.
class CAppHelpSound : public IHelpSound {
public:
    void PlayHelpSound(int soundId, bool loop) override;
    void StopHelpSound() override;
    bool IsHelpSoundPlaying() const override;
};

} // namespace zentrix
