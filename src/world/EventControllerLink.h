#pragma once

namespace zentrix {

class CWorldObject;

/// The event controller of one world object as the object drives it. The event scripts sit above the
/// world, so the object reaches its controller through this and a maker that the game installs
/// (`SWorldLinks::makeEventController`).
class IEventControllerLink {
public:
    virtual ~IEventControllerLink() = default;
    /// Keeps the owner and starts the events of its script; false when the object has no script (or
    /// there is no script cache), and the controller then runs no events of its own.
    virtual bool LoadScript(CWorldObject& owner) = 0;
    /// Adds the events of a script resource for the owner, from the next update on, each living
    /// `timeoutMs` (0 or less: for good); false when nothing was added.
    virtual bool AddEvents(int /*scriptId*/, int /*timeoutMs*/) { return false; }
    /// One frame of the running events.
    virtual void Update(unsigned ms) = 0;
};

} // namespace zentrix
