#include "frontend/AppHelpSound.h"

#include "app/App.h"
#include "audio/GameSoundController.h"

namespace zentrix {

void CAppHelpSound::PlayHelpSound(int soundId, bool loop) {
    if (g_pApp && g_pApp->GetGameSoundController())
        g_pApp->GetGameSoundController()->PlayHelpSound(soundId, loop);
}

void CAppHelpSound::StopHelpSound() {
    if (g_pApp && g_pApp->GetGameSoundController())
        g_pApp->GetGameSoundController()->StopHelpSound();
}

bool CAppHelpSound::IsHelpSoundPlaying() const {
    return g_pApp && g_pApp->GetGameSoundController() &&
           g_pApp->GetGameSoundController()->IsHelpSoundPlaying();
}

} // namespace zentrix
