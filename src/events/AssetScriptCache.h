#pragma once

#include "events/AssetScriptSource.h"
#include "events/ScriptCache.h"
#include "foundation/assets/ScriptCacheLink.h"

namespace zentrix {

class CAssetMan;
class CErrorMan;

/// The script cache as the asset manager owns and drives it: made through the asset manager's
/// `makeScriptCache` link, started and cleared with it, asked to parse the race's scripts before a
/// race. Everything else reaches the cache itself through Find.
class CAssetScriptCache final : public IScriptCacheLink {
public:
    /// A cache over the asset manager's texts, reporting to `log` (may be null).
    CAssetScriptCache(CAssetMan& assets, CErrorMan* log) : m_source(assets, log), m_cache(&m_source) {}

    void Init() override { m_cache.Init(); }
    void Clear() override { m_cache.Clear(); }
    void GetResourceScript(int resourceId) override { m_cache.GetResourceScript(resourceId); }

    CScriptCache& GetCache() { return m_cache; }
    /// The script cache of an asset manager, or null without one (no asset manager, not started, or
    /// a cache of another kind).
    static CScriptCache* Find(const CAssetMan* assets);

private:
    CAssetScriptSource m_source;
    CScriptCache m_cache; ///< after the source, which it reads until it is cleared
};

} // namespace zentrix
