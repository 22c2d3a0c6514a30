#pragma once

#include "foundation/base/ManagerInterface.h"
#include "foundation/base/Message.h"

#include <cstdint>
#include <list>

namespace zentrix {

/// Carries application messages between panels, worlds, the engine and the window: a first-in-first-out
/// queue for commands, and one latest message per type for positions, clicks and keys.
class CEventMan : public CManagerInterface {
public:
    /// Number of message types; valid types are 0 .. kTypeCount - 1.
    static constexpr int kTypeCount = 200;

    CEventMan();
    ~CEventMan() override;

    int StartManager() override;
    int StopManager() override;

    /// Queues a new message of `type` with all parameters 0; false for a type out of range.
    bool PostMessage(int type);
    /// Queues a copy of `message` (its parameters and serial number); false for a type out of range.
    bool QueueMessage(const CMessage& message);
    /// Whether a message of `type` is queued; copies the oldest into `out` when given, and takes it out
    /// of the queue when `remove` is set.
    bool FindMessage(int type, CMessage* out, bool remove);
    /// Takes the latest message of `type` into `out` (when given); false when there is none.
    bool GetLatest(int type, CMessage* out);
    /// Makes `message` the latest of its type, replacing one not yet taken; false for a type out of range.
    bool SetLatest(const CMessage& message);
    /// Latest message of `type` with parameters x, y.
    void SetMouseMessage(int x, int y, int type);
    /// Latest message of `type` with parameters x, y and the button.
    void SetButtonMessage(int x, int y, int button, int type);
    /// Latest key-down message with the virtual-key code.
    void SetKeyMessage(int key);
    /// Latest set-pointer message with the pointer image id.
    void SetPointerMessage(int imageId);
    /// Drops every queued and every latest message.
    void Clear();
    /// The per-frame call; there is nothing to do.
    void Update() {}

    /// Number of queued messages of `type` (0 for a type out of range).
    std::uint32_t GetPendingCount(int type) const;

private:
    static bool IsValidType(int type) { return type >= 0 && type < kTypeCount; }
    void ResetCounts();

    std::list<CMessage> m_queue;
    std::uint32_t m_pending[kTypeCount];
    CMessage m_latest[kTypeCount];
    bool m_latestSet[kTypeCount];
};

} // namespace zentrix
