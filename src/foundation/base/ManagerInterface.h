#pragma once

namespace zentrix {

/// The common life of every manager: started after construction, stopped before deletion.
class CManagerInterface {
public:
    virtual ~CManagerInterface() = default;
    /// Starts the manager; 0 on success.
    virtual int StartManager() = 0;
    /// Stops the manager; returns 0.
    virtual int StopManager() = 0;
    /// Whether the manager's start succeeded and it has not been stopped since.
    bool IsStarted() const { return m_started; }

protected:
    bool m_started = false;
};

} // namespace zentrix
