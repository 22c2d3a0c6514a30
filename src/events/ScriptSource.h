#pragma once

#include "foundation/string/DStr.h"

namespace zentrix {

/// Where the script cache takes its texts from and where its parse reports go: the asset manager and
/// the error manager in the game (CAssetScriptSource), a double in tests.
class IScriptSource {
public:
    virtual ~IScriptSource() = default;
    /// The event script of a world-object asset; false (out empty) when it has none.
    virtual bool LoadAssetScript(int assetId, CDStr& out) = 0;
    /// A script resource: the asset's data up to its first NUL; false (out empty) without data.
    virtual bool LoadAssetText(int scriptId, CDStr& out) = 0;
    /// The path of the ".msc" file beside an asset; false without one.
    virtual bool GetScriptPath(int assetId, CDStr& out) = 0;
    /// The substitutions the keyword tables are built with.
    virtual CDStr GetDefinitionsText() = 0;
    /// Hands a report to a log channel.
    virtual void Print(int channel, const CDStr& text) = 0;
};

} // namespace zentrix
