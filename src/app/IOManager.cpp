#include "app/IOManager.h"

#include "app/GameOptions.h"
#include "app/InputServices.h"

namespace zentrix {

namespace {

constexpr std::array<int, CIOManager::kSlotCount> kDefaultIndices{1, 2, 3, 0};

bool ValidSlot(int slot) {
    return slot >= 0 && slot < CIOManager::kSlotCount;
}

} // namespace

CIOManager::CIOManager(IInputServices* services) : m_services(services) {}

CIOManager::~CIOManager() {
    StopManager();
}

bool CIOManager::CannotStart(const CManagerInterface* manager) const {
    if (!m_services || !m_services->HasErrorMan())
        return true;
    return manager != nullptr && !manager->IsStarted();
}

int CIOManager::StartManager() {
    if (CannotStart(nullptr))
        return 1;
    m_input = m_services->CreateInputSystem();
    if (!m_input)
        return 1;
    m_enumerated.clear();
    for (const plat::input::DeviceInstance& instance : m_input->EnumerateDevices())
        m_enumerated.push_back(instance.id);

    const int n = GetNumInputDevices();
    // Without the options the default choices stand and nothing is remembered.
    CGameOptions* options = m_services->GetGameOptions();
    m_indices = kDefaultIndices;
    if (options)
        for (int i = 0; i < kSlotCount; ++i)
            m_indices[static_cast<std::size_t>(i)] = options->GetOption(CGameOptions::OPTION_CONTROLLER1 + i);

    // One fault is mended per start; a later start mends the next.
    const int fault = FindFault(n);
    if (fault >= 0) {
        Repair(fault, n);
        if (options)
            for (int i = 0; i < kSlotCount; ++i)
                options->SetOption(CGameOptions::OPTION_CONTROLLER1 + i,
                                   m_indices[static_cast<std::size_t>(i)]);
    }
    if (options)
        options->SetOption(CGameOptions::OPTION_NUM_DEVICES, n);
    m_started = true;
    return 0;
}

int CIOManager::FindFault(int n) const {
    auto bad = [n](int index) { return index < 0 || index >= n; };
    for (int i = 0; i < kSlotCount; ++i) {
        const int index = m_indices[static_cast<std::size_t>(i)];
        if (bad(index))
            return i;
        for (int j = 0; j < kSlotCount; ++j) {
            const int other = m_indices[static_cast<std::size_t>(j)];
            if (bad(other) || (j != i && other == index))
                return j;
        }
    }
    return -1;
}

void CIOManager::Repair(int slot, int n) {
    auto taken = [&](int c) {
        for (int m = 0; m < kSlotCount; ++m)
            if (m != slot && m_indices[static_cast<std::size_t>(m)] == c)
                return true;
        return false;
    };
    // With fewer than four indices the other slots can hold all of them: each candidate is tried once,
    // and the last one stays even though it is taken.
    int c = n > 1 ? 1 : 0;
    for (int tried = 1; tried < n && taken(c); ++tried)
        c = c + 1 >= n ? 0 : c + 1;
    m_indices[static_cast<std::size_t>(slot)] = c;
}

int CIOManager::StopManager() {
    m_enumerated.clear();
    for (std::unique_ptr<CIODevice>& device : m_devices)
        device.reset();
    m_input.reset();
    m_started = false;
    return 0;
}

void CIOManager::Poll(int ms) {
    for (std::unique_ptr<CIODevice>& device : m_devices)
        if (device)
            device->ReadInput(ms);
}

CIODevice* CIOManager::AssignDevice(int slot, int entry) {
    if (!ValidSlot(slot))
        return nullptr;
    std::unique_ptr<CIODevice>& device = m_devices[static_cast<std::size_t>(slot)];
    if (entry < 0) {
        if (device)
            device->ResetControls();
        return device.get();
    }
    if (entry >= static_cast<int>(m_enumerated.size()) || !m_input)
        return device.get();
    device.reset();
    device = CIODevice::CreateInputDevice(*m_input, m_enumerated[static_cast<std::size_t>(entry)], slot);
    if (device) {
        device->SetRecording(m_recording);
        device->SetPlayback(m_playback);
        device->Acquire(true);
    }
    return device.get();
}

CIODevice* CIOManager::GetDevice(int slot) const {
    return ValidSlot(slot) ? m_devices[static_cast<std::size_t>(slot)].get() : nullptr;
}

int CIOManager::GetControllerDevice(int slot) const {
    return ValidSlot(slot) ? m_indices[static_cast<std::size_t>(slot)] : -1;
}

void CIOManager::SetControllerDevice(int slot, int index) {
    if (ValidSlot(slot))
        m_indices[static_cast<std::size_t>(slot)] = index;
}

int CIOManager::EntryForDeviceIndex(int index) const {
    if (index < 0 || index >= GetNumInputDevices())
        return -1;
    if (index == 0)
        return 0;
    if (index <= 3)
        return 1;
    return index - 2;
}

void CIOManager::SetRecording(bool on) {
    m_recording = on;
    for (std::unique_ptr<CIODevice>& device : m_devices)
        if (device)
            device->SetRecording(on);
}

void CIOManager::SetPlayback(bool on) {
    m_playback = on;
    for (std::unique_ptr<CIODevice>& device : m_devices)
        if (device)
            device->SetPlayback(on);
}

} // namespace zentrix
