#pragma once

namespace zentrix {

/// A world object as the events see it: the object whose controller holds an event, and the targets
/// its triggers find. The world objects will answer it; until they exist, only this much is asked.
class IEventOwner {
public:
    virtual ~IEventOwner() = default;
    /// The asset id the object was made from; it names the object's script.
    virtual int GetTypeId() const = 0;
};

} // namespace zentrix
