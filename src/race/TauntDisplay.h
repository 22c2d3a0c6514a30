#pragma once

namespace zentrix {

/// What the taunt queue asks of the window that shows the taunts (the taunt monitor answers it).
class ITauntDisplay {
public:
    virtual ~ITauntDisplay() = default;
    /// Starts expression `tag` of driver `driver`; the display counts as busy from the call on, even when
    /// it refuses (false).
    virtual bool PlayTaunt(int tag, int driver, bool loop, bool hold) = 0;
    /// A taunt is on show.
    virtual bool IsBusy() const = 0;
    /// The expression last started (28: none).
    virtual int GetTag() const = 0;
    /// The taunt on show loops for as long as its event keeps being reported.
    virtual bool IsHolding() const = 0;
    /// Ends the held taunt: the display is free again.
    virtual void EndHold() = 0;
};

} // namespace zentrix
