#pragma once

namespace zentrix {

/// The event-script cache as the asset manager drives it: started after the data tables, cleared at the
/// stop, and asked before a race to prepare the scripts the race will use.
class IScriptCacheLink {
public:
    virtual ~IScriptCacheLink() = default;
    /// Prepares the cache after creation.
    virtual void Init() = 0;
    /// Drops every parsed script.
    virtual void Clear() = 0;
    /// Parses and caches the event script of a resource id.
    virtual void GetResourceScript(int resourceId) = 0;
};

} // namespace zentrix
