#include "events/AssetScriptSource.h"

#include "app/ErrorMan.h"
#include "foundation/assets/AssetMan.h"

namespace zentrix {

bool CAssetScriptSource::LoadAssetScript(int assetId, CDStr& out) {
    return m_assets.LoadAssetScript(assetId, out);
}

bool CAssetScriptSource::LoadAssetText(int scriptId, CDStr& out) {
    return m_assets.LoadAssetText(scriptId, out);
}

bool CAssetScriptSource::GetScriptPath(int assetId, CDStr& out) {
    return m_assets.GetScriptPath(assetId, out);
}

CDStr CAssetScriptSource::GetDefinitionsText() {
    return m_assets.GetDefinitionsText();
}

void CAssetScriptSource::Print(int channel, const CDStr& text) {
    if (m_log)
        m_log->Print(channel, text.c_str());
}

} // namespace zentrix
