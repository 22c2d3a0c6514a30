#include "render/assets/MeshAsset.h"

#include "engine/KmbFile.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/FatalError.h"
#include "render/VornMesh.h"

#include <vector>

namespace zentrix {

CMeshAsset::CMeshAsset(int id, const std::string& path, CAssetMan& assets, std::string& loadingPath)
    : m_id(id), m_mesh(std::make_unique<CVornMesh>()),
      m_name(path.substr(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1)), m_path(path) {
    loadingPath = path;
    const CFatalErrorFile reading(path);
    std::string relative;
    std::vector<std::uint8_t> bytes;
    if (assets.GetAssetRelativePath(id, relative) && relative.size() >= 4 &&
        assets.GetAssetDataByName(relative.substr(0, relative.size() - 4) + ".kmb", bytes)) {
        // What the data holds decides: a mesh that does not read is not loaded.
        m_loaded = OMBRELLoadKMB(m_mesh.get(), bytes.data(), bytes.size(), nullptr);
    } else if (path.find(".kmt") != std::string::npos || path.find(".KMT") != std::string::npos) {
        m_loaded = m_mesh->LoadKMT(path.c_str(), true);
    } else if (path.find(".kmb") != std::string::npos || path.find(".KMB") != std::string::npos) {
        m_loaded = m_mesh->LoadKMB(path.c_str());
    }
    if (m_loaded)
        m_mesh->SortFaces(true);
}

CMeshAsset::~CMeshAsset() = default;

} // namespace zentrix
