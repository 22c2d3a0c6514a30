#include "world/ControllerWorldSounds.h"

#include "audio/GameSoundController.h"

namespace zentrix {

void CControllerWorldSounds::PlayCarSound(int soundId, int slot) {
    if (CGameSoundController* sound = Controller())
        sound->PlayCarSound(soundId, slot);
}

void CControllerWorldSounds::StartCarSound(int slot, int soundId) {
    if (CGameSoundController* sound = Controller())
        sound->StartCarSound(slot, soundId);
}

void CControllerWorldSounds::SetCarPosition(int slot, const CVector& position, float level) {
    if (CGameSoundController* sound = Controller())
        sound->SetCarPosition(slot, position, level);
}

void CControllerWorldSounds::StartCarLoop(int slot, int soundId) {
    if (CGameSoundController* sound = Controller())
        sound->StartCarLoop(slot, soundId);
}

void CControllerWorldSounds::StopCarLoop(int slot) {
    if (CGameSoundController* sound = Controller())
        sound->StopCarLoop(slot);
}

void CControllerWorldSounds::PlaySoundAt(int soundId, const CVector& position, bool looping, int driverSlot) {
    if (CGameSoundController* sound = Controller())
        sound->PlaySoundAt(soundId, position, looping, driverSlot);
}

float CControllerWorldSounds::GetHearingDistance() const {
    return CGameSoundController::kHearingDistance;
}

} // namespace zentrix
