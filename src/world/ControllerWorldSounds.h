#pragma once

#include "world/WorldSounds.h"

namespace zentrix {

class CGameSoundController;

/// The world's sounds played through the game's sound controller; silent while there is none.
class CControllerWorldSounds : public IWorldSounds {
public:
    /// `controller` may be null, and is read at every call (the application's may come later).
    explicit CControllerWorldSounds(CGameSoundController* (*controller)()) : m_controller(controller) {}

    void PlayCarSound(int soundId, int slot) override;
    void StartCarSound(int slot, int soundId) override;
    void SetCarPosition(int slot, const CVector& position, float level) override;
    void StartCarLoop(int slot, int soundId) override;
    void StopCarLoop(int slot) override;
    void PlaySoundAt(int soundId, const CVector& position, bool looping, int driverSlot) override;
    float GetHearingDistance() const override;

private:
    CGameSoundController* Controller() const { return m_controller ? m_controller() : nullptr; }
    CGameSoundController* (*m_controller)();
};

} // namespace zentrix
