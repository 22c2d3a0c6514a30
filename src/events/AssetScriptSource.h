#pragma once

#include "events/ScriptSource.h"

namespace zentrix {

class CAssetMan;
class CErrorMan;

/// The script texts of the asset manager; parse reports go to the error manager when there is one.
class CAssetScriptSource final : public IScriptSource {
public:
    CAssetScriptSource(CAssetMan& assets, CErrorMan* log) : m_assets(assets), m_log(log) {}

    bool LoadAssetScript(int assetId, CDStr& out) override;
    bool LoadAssetText(int scriptId, CDStr& out) override;
    bool GetScriptPath(int assetId, CDStr& out) override;
    CDStr GetDefinitionsText() override;
    void Print(int channel, const CDStr& text) override;

private:
    CAssetMan& m_assets;
    CErrorMan* m_log;
};

} // namespace zentrix
